# cmake -DIN=<city-codes.txt> -DOUT=<CityCode.txt> -P make-city-codes.cmake
# The widget wants CityCode.txt as UTF-8 with a byte-order mark and CR LF line ends; the
# source list stays plain (no BOM, LF) so it diffs cleanly against where it came from.
if(NOT IN OR NOT OUT)
  message(FATAL_ERROR "usage: cmake -DIN=<list> -DOUT=<CityCode.txt> -P make-city-codes.cmake")
endif()
file(READ "${IN}" text)
string(ASCII 239 187 191 bom)
# Tolerate a list that was saved with a BOM or CR LF by some editor.
string(REGEX REPLACE "^${bom}" "" text "${text}")
string(REPLACE "\r\n" "\n" text "${text}")
if(NOT text MATCHES "\n$")
  string(APPEND text "\n")
endif()
# 珠海 sits near the end of the list: missing means the list is empty or cut short.
string(FIND "\n${text}" "\n珠海=" at)
if(at EQUAL -1)
  message(FATAL_ERROR "${IN}: no line for 珠海")
endif()
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE "${OUT}" "${bom}${text}")
