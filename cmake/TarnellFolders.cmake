# The build rules every source and test folder shares.

# A library made of every .cpp of the calling folder (tarnell_<name>), linking DEPS;
# a folder with headers only makes an interface library.
function(tarnell_folder_library name)
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    if(sources)
        add_library(tarnell_${name} STATIC ${sources} ${headers})
        target_include_directories(tarnell_${name} PUBLIC ${PROJECT_SOURCE_DIR})
        target_link_libraries(tarnell_${name} PUBLIC ${ARGN} Qt6::Widgets)
    else()
        add_library(tarnell_${name} INTERFACE)
        target_include_directories(tarnell_${name} INTERFACE ${PROJECT_SOURCE_DIR})
        target_link_libraries(tarnell_${name} INTERFACE ${ARGN})
    endif()
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
