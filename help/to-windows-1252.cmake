# Copies one help source from UTF-8 into windows-1252, the code page of a French help document:
# the help viewer reads the contents, the index and the title in that code page, so the pages
# are converted as well and their declared character set changes with them.
#   cmake -DICONV=/usr/bin/iconv -DIN=page.htm -DOUT=stage/page.htm -P to-windows-1252.cmake
file(READ "${IN}" text)
string(REPLACE "charset=utf-8" "charset=windows-1252" text "${text}")
get_filename_component(name "${OUT}" NAME)
set(tmp "${OUT}.utf8")
file(WRITE "${tmp}" "${text}")
execute_process(COMMAND "${ICONV}" -f UTF-8 -t WINDOWS-1252 "${tmp}"
                OUTPUT_FILE "${OUT}" RESULT_VARIABLE rc ERROR_VARIABLE err)
file(REMOVE "${tmp}")
if(NOT rc EQUAL 0)
    file(REMOVE "${OUT}")
    message(FATAL_ERROR "${name}: not representable in windows-1252: ${err}")
endif()
