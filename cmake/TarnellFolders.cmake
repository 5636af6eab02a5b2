# The build rules every source and test folder shares.

# A library made of every .cpp of the calling folder and of its rooms (tarnell_<name>),
# linking DEPS: a room is a subfolder without a CMakeLists.txt of its own (widgets/lcd); a
# subfolder with one is a library of its own. Sources that a drawing part of the folder
# claimed (tarnell_drawing_part) are left out, and the part is linked. A folder with
# headers only makes an interface library.
function(tarnell_folder_library name)
    set(patterns ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    set(header_patterns ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    file(GLOB entries LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/*)
    foreach(entry ${entries})
        if(IS_DIRECTORY ${entry} AND NOT EXISTS ${entry}/CMakeLists.txt)
            list(APPEND patterns ${entry}/*.cpp)
            list(APPEND header_patterns ${entry}/*.h)
        endif()
    endforeach()
    file(GLOB sources CONFIGURE_DEPENDS ${patterns})
    file(GLOB headers CONFIGURE_DEPENDS ${header_patterns})
    get_property(claimed DIRECTORY PROPERTY TARNELL_DRAWING_SOURCES)
    get_property(parts DIRECTORY PROPERTY TARNELL_DRAWING_PARTS)
    if(claimed)
        list(REMOVE_ITEM sources ${claimed})
    endif()
    if(sources)
        add_library(tarnell_${name} STATIC ${sources} ${headers})
        target_include_directories(tarnell_${name} PUBLIC ${PROJECT_SOURCE_DIR})
        target_link_libraries(tarnell_${name} PUBLIC ${parts} ${ARGN} Qt6::Widgets)
    else()
        add_library(tarnell_${name} INTERFACE)
        target_include_directories(tarnell_${name} INTERFACE ${PROJECT_SOURCE_DIR})
        target_link_libraries(tarnell_${name} INTERFACE ${parts} ${ARGN})
    endif()
endfunction()

# tarnell_drawing_part(NAME SOURCES files... DEPS libs...): the named sources of the calling
# folder draw pictures from images handed to them, with no window and no embedded resource,
# so they make a library of their own (tarnell_<name>, on Qt's GUI module only) that the
# generator links too. Call it before tarnell_folder_library, which then leaves them out.
function(tarnell_drawing_part name)
    cmake_parse_arguments(P "" "" "SOURCES;DEPS" ${ARGN})
    list(TRANSFORM P_SOURCES PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
    add_library(tarnell_${name} STATIC ${P_SOURCES})
    target_include_directories(tarnell_${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(tarnell_${name} PUBLIC ${P_DEPS} Qt6::Gui)
    set_property(DIRECTORY APPEND PROPERTY TARNELL_DRAWING_SOURCES ${P_SOURCES})
    set_property(DIRECTORY APPEND PROPERTY TARNELL_DRAWING_PARTS tarnell_${name})
endfunction()

# One GoogleTest program per *Test.cpp of the calling folder, named <prefix>_<file>; the
# folder's other .cpp files are helpers linked into each of them.
function(tarnell_test_folder prefix)
    file(GLOB programs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*Test.cpp)
    file(GLOB helpers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    list(REMOVE_ITEM helpers ${programs} "")
    foreach(src ${programs})
        get_filename_component(name ${src} NAME_WE)
        tarnell_add_test(${prefix}_${name} SOURCES ${src} ${helpers} LIBS ${ARGN})
    endforeach()
endfunction()
