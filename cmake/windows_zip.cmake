# valvescope-<version>-win64.zip: the Windows programs and a short read-me
# with Windows line ends, in a folder of the same name. Every program of
# VS_WINDOWS_PROGRAMS that is built joins it, named in the read-me.
set(VS_WINDOWS_PROGRAMS
    "valvescope|the service program: live instrument panel, log files and their playback, connection, port, password and pressure dialogs, settings files up and down, the traveler report (the other dialogs are still to come)"
    "valvescope-cli|the command-line tool: live values, registers, settings and log files")
set(VS_ZIP_NAME valvescope-${PROJECT_VERSION}-win64)
set(VS_ZIP_STAGE ${CMAKE_BINARY_DIR}/${VS_ZIP_NAME})

# configure_file gives Windows line ends to the template's own lines only, so
# the list carries its own.
set(zipped)
set(VS_WINDOWS_PROGRAM_LIST "The folder holds:")
foreach(entry IN LISTS VS_WINDOWS_PROGRAMS)
  string(REPLACE "|" ";" entry "${entry}")
  list(GET entry 0 program)
  list(GET entry 1 purpose)
  if(TARGET ${program})
    list(APPEND zipped ${program})
    string(APPEND VS_WINDOWS_PROGRAM_LIST "\r\n  ${program}.exe\r\n      ${purpose}")
  endif()
endforeach()
string(APPEND VS_WINDOWS_PROGRAM_LIST "\r\n  README.txt\r\n      this text")
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/README.txt ${VS_ZIP_STAGE}/README.txt
               @ONLY NEWLINE_STYLE CRLF)

set(copies)
foreach(program IN LISTS zipped)
  list(APPEND copies COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${program}> ${VS_ZIP_STAGE}/)
endforeach()
add_custom_target(windows-zip
  ${copies}
  COMMAND ${CMAKE_COMMAND} -E rm -f ${VS_ZIP_NAME}.zip
  COMMAND ${CMAKE_COMMAND} -E tar cf ${VS_ZIP_NAME}.zip --format=zip ${VS_ZIP_NAME}
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  DEPENDS ${zipped}
  COMMENT "Writing ${VS_ZIP_NAME}.zip"
  VERBATIM)
