# Fails when a file includes across the layers: a core or batch file including Qt, a gui/ folder
# or app/. Run by the build (target check_layers) with ROOT set to the source folder.
file(GLOB_RECURSE files RELATIVE ${ROOT}
     ${ROOT}/data/*.[ch]* ${ROOT}/import/*.[ch]* ${ROOT}/setup/*.[ch]* ${ROOT}/analysis/*.[ch]*
     ${ROOT}/results/*.[ch]* ${ROOT}/graph/*.[ch]* ${ROOT}/platform/*.[ch]* ${ROOT}/batch/*.[ch]*)
set(bad "")
foreach(f ${files})
  if(f MATCHES "/gui/" OR NOT f MATCHES "\\.(cpp|h)$")
    continue()
  endif()
  file(STRINGS ${ROOT}/${f} includes REGEX "^[ \t]*#[ \t]*include")
  foreach(line ${includes})
    if(line MATCHES "<Q[A-Za-z]*>" OR line MATCHES "\"([a-z]+/)*gui/" OR line MATCHES "\"app/")
      string(APPEND bad "\n  ${f}: ${line}")
    endif()
  endforeach()
endforeach()
if(bad)
  message(FATAL_ERROR "core files must not include Qt, gui/ or app/:${bad}")
endif()
