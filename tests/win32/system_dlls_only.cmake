# Fails unless each program imports only DLLs that every Windows 10 and 11
# has: the programs are linked statically and must run from the zip alone.
# Run as: cmake -DOBJDUMP=<objdump> -DPROGRAMS=<a.exe|b.exe> -P system_dlls_only.cmake
cmake_minimum_required(VERSION 3.25)

set(SYSTEM_DLLS advapi32.dll comctl32.dll comdlg32.dll gdi32.dll kernel32.dll msvcrt.dll
    ole32.dll oleaut32.dll setupapi.dll shell32.dll shlwapi.dll user32.dll uxtheme.dll
    version.dll winspool.drv ws2_32.dll)

string(REPLACE "|" ";" PROGRAMS "${PROGRAMS}")
set(problems)
foreach(program IN LISTS PROGRAMS)
  get_filename_component(name ${program} NAME)
  execute_process(COMMAND ${OBJDUMP} -p ${program} OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
  string(REGEX MATCHALL "DLL Name: [^\r\n]+" imports "${dump}")
  if(failed OR NOT imports)
    list(APPEND problems "${name}: ${OBJDUMP} -p finds no imported DLL")
    continue()
  endif()
  set(dlls)
  foreach(import IN LISTS imports)
    string(REGEX REPLACE "^DLL Name: " "" dll "${import}")
    string(TOLOWER "${dll}" dll)
    list(APPEND dlls ${dll})
    if(NOT dll IN_LIST SYSTEM_DLLS)
      list(APPEND problems "${name} imports ${dll}, which Windows does not have")
    endif()
  endforeach()
  list(REMOVE_DUPLICATES dlls)
  list(JOIN dlls " " shown)
  message(STATUS "${name} imports ${shown}")
endforeach()
if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "Not Windows' own DLLs:\n  ${text}")
endif()
