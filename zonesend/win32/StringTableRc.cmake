# Writes the STRINGTABLE resources of zonesend from the program's one string table in
# zonesend/Strings.cpp, so that the Windows resources and the other platforms show the same
# texts. Run as: cmake -DSOURCE=Strings.cpp -DOUTPUT=strings.rc -P StringTableRc.cmake
file(READ "${SOURCE}" source)
string(FIND "${source}" "kEntries = {{" begin)
string(FIND "${source}" "}};" end)
if(begin LESS 0 OR end LESS begin)
    message(FATAL_ERROR "${SOURCE}: the table kEntries was not found")
endif()
math(EXPR length "${end} - ${begin}")
string(SUBSTRING "${source}" ${begin} ${length} table)
# Semicolons would split the text into a CMake list: they stand as a mark no text has until each
# text is written.
string(REPLACE ";" "@SEMICOLON@" table "${table}")

set(literal "\"([^\"\\\\]|\\\\.)*\"")
set(literals "(${literal}[ \t\r\n]*)+")
string(REGEX MATCHALL "{[0-9]+,[ \t\r\n]*${literals},[ \t\r\n]*${literals}}" entries "${table}")

set(english "")
set(german "")
set(count 0)
foreach(entry IN LISTS entries)
    string(REGEX MATCH "^{([0-9]+)," _ "${entry}")
    set(id ${CMAKE_MATCH_1})
    string(REGEX REPLACE "^{[0-9]+,[ \t\r\n]*" "" rest "${entry}")
    string(REGEX MATCH "^${literals}" first "${rest}")
    string(LENGTH "${first}" firstLength)
    string(SUBSTRING "${rest}" ${firstLength} -1 rest)
    string(REGEX REPLACE "^,[ \t\r\n]*" "" rest "${rest}")
    string(REGEX REPLACE "}$" "" second "${rest}")
    foreach(part first second)
        # Adjacent literals are one text; a resource script has no such joining.
        string(STRIP "${${part}}" text)
        string(REGEX REPLACE "\"[ \t\r\n]+\"" "" text "${text}")
        string(REGEX REPLACE "^\"(.*)\"$" "\\1" text "${text}")
        # A quote is doubled in a resource script; C's \" is the only way the table writes one.
        string(REPLACE "\\\"" "\"\"" text "${text}")
        string(REPLACE "@SEMICOLON@" ";" text "${text}")
        set(${part} "${text}")
    endforeach()
    string(APPEND english "    ${id}, \"${first}\"\n")
    string(APPEND german "    ${id}, \"${second}\"\n")
    math(EXPR count "${count} + 1")
endforeach()
if(count EQUAL 0)
    message(FATAL_ERROR "${SOURCE}: no strings found in kEntries")
endif()

file(WRITE "${OUTPUT}.tmp" "// Generated from zonesend/Strings.cpp; do not edit.
#pragma code_page(65001)

LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US
STRINGTABLE
BEGIN
${english}END

LANGUAGE LANG_GERMAN, SUBLANG_GERMAN
STRINGTABLE
BEGIN
${german}END
")
# Only a changed table makes the resources be compiled again.
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
