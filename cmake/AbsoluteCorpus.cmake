# Writes the corpus file OUT from IN, whose entries are relative to FOLDER
# (with its trailing "/"): a corpus file holds full paths, one per line,
# ending in CR LF. Run with cmake -P.
file(READ "${IN}" content)
string(REPLACE "\r\n" "\n" content "${content}")
string(REPLACE "\r" "\n" content "${content}")
string(REPLACE "\n" ";" entries "${content}")
set(out "")
foreach(entry IN LISTS entries)
  if(NOT entry STREQUAL "")
    string(APPEND out "${FOLDER}${entry}\r\n")
  endif()
endforeach()
file(WRITE "${OUT}" "${out}")
