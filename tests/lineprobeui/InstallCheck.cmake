# Installs the build into a fresh prefix and checks that Lineprobe arrives with everything the
# desktop needs: the program beside quillmark, its .desktop file, icon, MIME types and help.
# Run as: cmake -DBUILD_DIR=... -DPREFIX=... -P InstallCheck.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
    RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
foreach(path
        bin/lineprobe
        bin/quillmark
        share/applications/de.korvalin.Lineprobe.desktop
        share/icons/hicolor/scalable/apps/de.korvalin.Lineprobe.svg
        share/icons/hicolor/scalable/mimetypes/application-x-lineprobe-list.svg
        share/mime/packages/de.korvalin.Lineprobe.xml
        share/korvalin/help/lineprobe/index.html)
    if(NOT EXISTS ${PREFIX}/${path})
        message(FATAL_ERROR "not installed: ${path}")
    endif()
endforeach()
file(READ ${PREFIX}/share/applications/de.korvalin.Lineprobe.desktop desktop)
foreach(line "Exec=lineprobe %f" "Icon=de.korvalin.Lineprobe"
        "MimeType=application/x-lineprobe-ascii-list;application/x-lineprobe-hex-list;")
    string(FIND "${desktop}" "${line}" at)
    if(at LESS 0)
        message(FATAL_ERROR ".desktop file lacks ${line}")
    endif()
endforeach()
file(READ ${PREFIX}/share/mime/packages/de.korvalin.Lineprobe.xml mime)
foreach(glob "*.tvs" "*.tvh")
    string(FIND "${mime}" "<glob pattern=\"${glob}\"" at)
    if(at LESS 0)
        message(FATAL_ERROR "MIME types lack ${glob}")
    endif()
endforeach()
file(REMOVE_RECURSE ${PREFIX})
