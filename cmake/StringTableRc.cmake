# Writes the STRINGTABLE resources of a program from its one string table in C++, so that the
# Windows resources and the other platforms show the same texts: English and German from the
# array kEntries of SOURCE ({id, "english", "german"}), French from the array kFrench of FRENCH
# ({id, "french"}) when given. Run as:
#   cmake -DSOURCE=Strings.cpp [-DFRENCH=StringsFrench.cpp] -DOUTPUT=strings.rc -P StringTableRc.cmake

set(literal "\"([^\"\\\\]|\\\\.)*\"")
set(literals "(${literal}[ \t\r\n]*)+")

# The body of the array NAME in FILE, without semicolons: they would split the text into a CMake
# list (no text of the tables has one).
function(read_table file name out)
    file(READ "${file}" source)
    string(FIND "${source}" "${name} = {{" begin)
    string(FIND "${source}" "}};" end)
    if(begin LESS 0 OR end LESS begin)
        message(FATAL_ERROR "${file}: the table ${name} was not found")
    endif()
    math(EXPR length "${end} - ${begin}")
    string(SUBSTRING "${source}" ${begin} ${length} table)
    string(REPLACE ";" "" table "${table}")
    set(${out} "${table}" PARENT_SCOPE)
endfunction()

# One text of the table as a resource script writes it.
function(resource_text literals out)
    string(STRIP "${literals}" text)
    # Adjacent literals are one text; a resource script has no such joining.
    string(REGEX REPLACE "\"[ \t\r\n]+\"" "" text "${text}")
    string(REGEX REPLACE "^\"(.*)\"$" "\\1" text "${text}")
    # A quote is doubled in a resource script; C's \" is the only way the table writes one.
    string(REPLACE "\\\"" "\"\"" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

read_table("${SOURCE}" kEntries table)
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
    resource_text("${first}" first)
    resource_text("${second}" second)
    string(APPEND english "    ${id}, \"${first}\"\n")
    string(APPEND german "    ${id}, \"${second}\"\n")
    math(EXPR count "${count} + 1")
endforeach()
if(count EQUAL 0)
    message(FATAL_ERROR "${SOURCE}: no strings found in kEntries")
endif()

set(french_block "")
if(FRENCH)
    read_table("${FRENCH}" kFrench table)
    string(REGEX MATCHALL "{[0-9]+,[ \t\r\n]*${literals}}" entries "${table}")
    set(french "")
    foreach(entry IN LISTS entries)
        string(REGEX MATCH "^{([0-9]+)," _ "${entry}")
        set(id ${CMAKE_MATCH_1})
        string(REGEX REPLACE "^{[0-9]+,[ \t\r\n]*" "" rest "${entry}")
        string(REGEX REPLACE "}$" "" rest "${rest}")
        resource_text("${rest}" text)
        string(APPEND french "    ${id}, \"${text}\"\n")
    endforeach()
    if(french STREQUAL "")
        message(FATAL_ERROR "${FRENCH}: no strings found in kFrench")
    endif()
    set(french_block "
LANGUAGE LANG_FRENCH, SUBLANG_FRENCH
STRINGTABLE
BEGIN
${french}END
")
endif()

get_filename_component(source_name "${SOURCE}" NAME)
file(WRITE "${OUTPUT}.tmp" "// Generated from ${source_name} by cmake/StringTableRc.cmake; do not edit.
#pragma code_page(65001)

LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US
STRINGTABLE
BEGIN
${english}END

LANGUAGE LANG_GERMAN, SUBLANG_GERMAN
STRINGTABLE
BEGIN
${german}END
${french_block}")
# Only a changed table makes the resources be compiled again.
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
