# Fails when a file includes across the layers: a core or batch file including Qt, a gui/ folder
# or app/; the fraction analysis including the sortability study, which builds on it; a window (a
# file of a subsystem's gui/ folder) including app/ or another window's header (the parts of a
# window split over files, named after it, are its own). Run by the build (target check_layers)
# with ROOT set to the source folder.
file(GLOB_RECURSE files RELATIVE ${ROOT}
     ${ROOT}/data/*.[ch]* ${ROOT}/import/*.[ch]* ${ROOT}/setup/*.[ch]* ${ROOT}/analysis/*.[ch]*
     ${ROOT}/study/*.[ch]*
     ${ROOT}/results/*.[ch]* ${ROOT}/graph/*.[ch]* ${ROOT}/platform/*.[ch]* ${ROOT}/batch/*.[ch]*)
set(bad "")
foreach(f ${files})
  if(NOT f MATCHES "\\.(cpp|h)$")
    continue()
  endif()
  file(STRINGS ${ROOT}/${f} includes REGEX "^[ \t]*#[ \t]*include")
  if(f MATCHES "^(.*)/gui/([^/]+)\\.(cpp|h)$")
    set(own "${CMAKE_MATCH_1}/gui/${CMAKE_MATCH_2}.h")
    # A window split over files: sortability_window.cpp may include sortability_window_charts.h.
    set(part "^${CMAKE_MATCH_1}/gui/${CMAKE_MATCH_2}_[a-z0-9_]+\\.h$")
    foreach(line ${includes})
      if(line MATCHES "\"app/")
        string(APPEND bad "\n  ${f}: ${line}")
      elseif(line MATCHES "\"(([a-z]+/)*gui/[^\"]+)\"")
        set(target "${CMAKE_MATCH_1}")
        if(NOT target MATCHES "^platform/gui/" AND NOT target STREQUAL own
           AND NOT target MATCHES "${part}")
          string(APPEND bad "\n  ${f}: ${line}")
        endif()
      endif()
    endforeach()
  else()
    foreach(line ${includes})
      if(line MATCHES "<Q[A-Za-z]*>" OR line MATCHES "\"([a-z]+/)*gui/" OR line MATCHES "\"app/")
        string(APPEND bad "\n  ${f}: ${line}")
      elseif(f MATCHES "^analysis/" AND line MATCHES "\"study/")
        string(APPEND bad "\n  ${f}: ${line}")
      endif()
    endforeach()
  endif()
endforeach()
if(bad)
  message(FATAL_ERROR "includes across the layers (core: no Qt, gui/ or app/; analysis/: no study/; "
                      "a window: no other window, no app/):${bad}")
endif()
