# The build rules every source and test folder shares; each target lists its own sources.

# tarnell_library(NAME SOURCES files... DEPS libs...): the library tarnell_<name> of the calling
# folder, on Qt's widgets and the libraries it uses.
function(tarnell_library name)
    cmake_parse_arguments(L "" "" "SOURCES;DEPS" ${ARGN})
    add_library(tarnell_${name} STATIC ${L_SOURCES})
    target_include_directories(tarnell_${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(tarnell_${name} PUBLIC ${L_DEPS} Qt6::Widgets)
endfunction()

# tarnell_drawing_part(NAME SOURCES files... DEPS libs...): sources that draw pictures from
# images handed to them, with no window and no embedded resource, make a library of their own
# (tarnell_<name>, on Qt's GUI module only) that the generator links too.
function(tarnell_drawing_part name)
    cmake_parse_arguments(P "" "" "SOURCES;DEPS" ${ARGN})
    add_library(tarnell_${name} STATIC ${P_SOURCES})
    target_include_directories(tarnell_${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(tarnell_${name} PUBLIC ${P_DEPS} Qt6::Gui)
endfunction()

# tarnell_test_programs(PREFIX PROGRAMS files... HELPERS files... LIBS libs...): one GoogleTest
# program per file of PROGRAMS, named <prefix>_<file>, each with the HELPERS linked in.
function(tarnell_test_programs prefix)
    cmake_parse_arguments(T "" "" "PROGRAMS;HELPERS;LIBS" ${ARGN})
    foreach(src ${T_PROGRAMS})
        get_filename_component(name ${src} NAME_WE)
        tarnell_add_test(${prefix}_${name} SOURCES ${src} ${T_HELPERS} LIBS ${T_LIBS})
    endforeach()
endfunction()
