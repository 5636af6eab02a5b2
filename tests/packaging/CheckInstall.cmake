# Installs the build into a scratch prefix and checks that every desktop file is in place.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
set(expected
    bin/tarnell
    share/applications/org.morvane.Tarnell.desktop
    share/metainfo/org.morvane.Tarnell.metainfo.xml
    share/man/man6/tarnell.6)
foreach(size 16 32 64 128 256)
    list(APPEND expected share/icons/hicolor/${size}x${size}/apps/org.morvane.Tarnell.png)
endforeach()
foreach(file ${expected})
    if(NOT EXISTS ${PREFIX}/${file})
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()
file(READ ${PREFIX}/share/applications/org.morvane.Tarnell.desktop entry)
foreach(line "Exec=tarnell" "Icon=org.morvane.Tarnell" "Name=Tarnell")
    string(FIND "${entry}" "${line}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "the menu entry lacks ${line}")
    endif()
endforeach()
find_program(VALIDATE desktop-file-validate)
if(VALIDATE)
    execute_process(COMMAND ${VALIDATE} ${PREFIX}/share/applications/org.morvane.Tarnell.desktop
                    RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "desktop-file-validate rejects the menu entry")
    endif()
endif()
message(STATUS "installed ${PREFIX}")
