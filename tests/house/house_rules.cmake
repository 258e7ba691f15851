# The house rules of src/, read from the code itself:
#  1. a folder includes only the folders its layer may stand on (the table);
#  2. the folders' includes form no circle;
#  3. only the Qt front end (src/qt, tests/qt) includes Qt headers;
#  4. Win32 headers (<windows.h> and friends) are included only by the Win32
#     front end (src/win32, tests/win32) and by files Win32-only by name
#     (win32_*, *_win32: the core's Win32 backends, listed apart in CMake,
#     and their tests), never by a Qt file; and a Win32-only header of ours
#     is included only where a Win32 header may be, so that no portable
#     header brings one in.
# Run as: cmake -DSOURCE_DIR=<checkout> -P house_rules.cmake
cmake_minimum_required(VERSION 3.25)

# Lowest first. A folder may include itself and the folders named after it.
set(MAY_files "")
set(MAY_link "")
set(MAY_time "")
set(MAY_widgets "")
set(MAY_registers files link)
set(MAY_diagnostics files link registers)
set(MAY_sim files link registers)
set(MAY_journal files link time registers)
set(MAY_forms files link time registers journal diagnostics)
set(MAY_dialogs files link time registers journal diagnostics forms)
set(MAY_logging files link time registers journal diagnostics widgets forms)
set(MAY_report files link time registers journal diagnostics widgets forms logging)
set(MAY_shell files link time registers journal diagnostics widgets sim forms dialogs logging report)
set(MAY_qt files link time registers journal diagnostics widgets sim forms dialogs logging report shell)
set(MAY_win32 files link time registers journal diagnostics widgets sim forms dialogs logging report shell)
set(FRONT_ENDS qt win32)

set(problems)
set(edges)

file(GLOB folders LIST_DIRECTORIES true RELATIVE ${SOURCE_DIR}/src ${SOURCE_DIR}/src/*)
foreach(folder IN LISTS folders)
  if(NOT IS_DIRECTORY ${SOURCE_DIR}/src/${folder})
    continue()
  endif()
  file(GLOB_RECURSE sources ${SOURCE_DIR}/src/${folder}/*.h ${SOURCE_DIR}/src/${folder}/*.cpp)
  if(NOT sources)
    continue()  # icons and the like
  endif()
  if(NOT DEFINED MAY_${folder})
    list(APPEND problems "src/${folder}/ is in no layer: give it a line in tests/house/house_rules.cmake")
    continue()
  endif()
  foreach(source IN LISTS sources)
    file(RELATIVE_PATH shown ${SOURCE_DIR} ${source})
    file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
    foreach(line IN LISTS includes)
      if(line MATCHES "#[ \t]*include[ \t]*\"([a-z0-9_]+)/")
        set(target ${CMAKE_MATCH_1})
        if(NOT target STREQUAL folder)
          list(APPEND edges "${folder}>${target}")
          if(NOT target IN_LIST MAY_${folder})
            list(APPEND problems "${shown} includes ${target}/, which src/${folder}/ may not stand on")
          endif()
        endif()
      elseif(line MATCHES "#[ \t]*include[ \t]*<(Qt[A-Za-z]*/)?Q[A-Za-z]")
        if(NOT folder STREQUAL "qt")
          list(APPEND problems "${shown} includes a Qt header outside src/qt/")
        endif()
      endif()
    endforeach()
  endforeach()
endforeach()

# The tools never include Qt; the tests only in tests/qt, beside what they test.
file(GLOB_RECURSE others ${SOURCE_DIR}/tests/*.h ${SOURCE_DIR}/tests/*.cpp
                         ${SOURCE_DIR}/tools/*.h ${SOURCE_DIR}/tools/*.cpp)
foreach(source IN LISTS others)
  file(RELATIVE_PATH shown ${SOURCE_DIR} ${source})
  if(shown MATCHES "^tests/qt/")
    continue()
  endif()
  file(STRINGS ${source} qt_includes REGEX "^[ \t]*#[ \t]*include[ \t]*<(Qt[A-Za-z]*/)?Q[A-Za-z]")
  if(qt_includes)
    list(APPEND problems "${shown} includes a Qt header outside the Qt front end")
  endif()
endforeach()

# Win32 headers, across everything that is compiled.
set(win32_headers "[Ww]in[a-z0-9]*" "ws2[a-z0-9]*" commctrl commdlg shellapi shlobj shlwapi
    objbase ole2 setupapi devguid initguid cfgmgr32 knownfolders dbt uxtheme dwmapi
    shellscalingapi tchar "[a-z]+api")
list(JOIN win32_headers "|" win32_header_pattern)
set(win32_header_pattern "<(${win32_header_pattern})\\.h>")
set(win32_header_owners
    ": only src/win32, tests/win32 and files named win32_* or *_win32 outside Qt's folders may")
file(GLOB_RECURSE compiled ${SOURCE_DIR}/src/*.h ${SOURCE_DIR}/src/*.cpp
                           ${SOURCE_DIR}/tests/*.h ${SOURCE_DIR}/tests/*.cpp
                           ${SOURCE_DIR}/tools/*.h ${SOURCE_DIR}/tools/*.cpp
                           ${SOURCE_DIR}/bench/*.h ${SOURCE_DIR}/bench/*.cpp)
foreach(source IN LISTS compiled)
  file(RELATIVE_PATH shown ${SOURCE_DIR} ${source})
  get_filename_component(name ${source} NAME_WE)
  if(NOT shown MATCHES "^(src|tests)/qt/" AND
     (shown MATCHES "^(src|tests)/win32/" OR name MATCHES "^win32_|_win32$"))
    continue()  # may include them
  endif()
  file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
  foreach(line IN LISTS includes)
    if(line MATCHES "#[ \t]*include[ \t]*${win32_header_pattern}")
      list(APPEND problems "${shown} includes a Win32 header${win32_header_owners}")
    elseif(line MATCHES "#[ \t]*include[ \t]*\"(win32/[^\"]*|[^\"]*/win32_[^\"/]*|[^\"]*_win32\\.h)\"")
      list(APPEND problems "${shown} includes ${CMAKE_MATCH_1}, which brings Win32 headers along")
    endif()
  endforeach()
endforeach()

# No circle: take away, again and again, the folders that include no folder
# still left; whatever cannot be taken away lies on a circle.
list(REMOVE_DUPLICATES edges)
set(left)
foreach(edge IN LISTS edges)
  string(REPLACE ">" ";" pair ${edge})
  list(APPEND left ${pair})
endforeach()
list(REMOVE_DUPLICATES left)
set(progress TRUE)
while(progress)
  set(progress FALSE)
  foreach(folder IN LISTS left)
    set(stands_on_left FALSE)
    foreach(edge IN LISTS edges)
      if(edge MATCHES "^${folder}>(.*)$" AND CMAKE_MATCH_1 IN_LIST left)
        set(stands_on_left TRUE)
      endif()
    endforeach()
    if(NOT stands_on_left)
      list(REMOVE_ITEM left ${folder})
      set(progress TRUE)
    endif()
  endforeach()
endwhile()
if(left)
  list(JOIN left ", " circle)
  list(APPEND problems "these folders lie on a circle of includes, or stand on one: ${circle}")
endif()

if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "House rules broken:\n  ${text}")
endif()
list(LENGTH edges count)
message(STATUS "House rules hold: ${count} folder dependencies, all downward, Qt only in qt/, "
               "Win32 headers only in win32/ and Win32-only files")
