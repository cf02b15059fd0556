# Installs the build into a fresh prefix and checks that the program comes
# with its help text, its menu entry, the file type of cases and the icons,
# each where a desktop looks for it.

file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()

foreach(path
    bin/morvek
    share/morvek/help/morvek-hilfe.html
    share/applications/morvek.desktop
    share/mime/packages/morvek.xml
    share/icons/hicolor/scalable/apps/morvek.svg
    share/icons/hicolor/scalable/mimetypes/application-x-morvek.svg)
  if(NOT EXISTS ${PREFIX}/${path})
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endforeach()

file(READ ${PREFIX}/share/applications/morvek.desktop desktop)
foreach(line "Exec=morvek %f" "Icon=morvek" "MimeType=application/x-morvek;" "Name=Morvek")
  string(FIND "${desktop}" "${line}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the desktop entry lacks '${line}'")
  endif()
endforeach()

file(READ ${PREFIX}/share/mime/packages/morvek.xml mime)
foreach(part "type=\"application/x-morvek\"" "pattern=\"*.mvk\"" "icon name=\"application-x-morvek\"")
  string(FIND "${mime}" "${part}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the file type lacks ${part}")
  endif()
endforeach()

# The installed program runs from its new place.
execute_process(COMMAND ${PREFIX}/bin/morvek --version RESULT_VARIABLE status OUTPUT_VARIABLE out)
if(NOT status EQUAL 0 OR NOT out MATCHES "2\\.0")
  message(FATAL_ERROR "the installed program does not run: ${status} ${out}")
endif()
file(REMOVE_RECURSE ${PREFIX})
