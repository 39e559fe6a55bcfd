# The user guide as the build made it: A4, at least 12 pages, and in it a
# picture for every picture its Markdown text names (a picture the text
# names but the PDF lacks would be a window left out of the guide).
#   cmake -DPDF=<guide.pdf> -DZDROJE=<folder of the .md files> -P NapovedaPdf.cmake
find_program(PDFINFO pdfinfo)
find_program(PDFIMAGES pdfimages)
if(NOT PDFINFO OR NOT PDFIMAGES)
  message(FATAL_ERROR "pdfinfo and pdfimages are missing (Debian package poppler-utils; scripts/setup installs it)")
endif()
if(NOT EXISTS "${PDF}")
  message(FATAL_ERROR "${PDF} has not been built (target napoveda)")
endif()

execute_process(COMMAND ${PDFINFO} ${PDF} OUTPUT_VARIABLE info RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "pdfinfo cannot read ${PDF}")
endif()
string(REGEX MATCH "Pages:[ \t]+([0-9]+)" _ "${info}")
set(stran "${CMAKE_MATCH_1}")
if(stran LESS 12)
  message(FATAL_ERROR "${PDF}: ${stran} pages, at least 12 expected")
endif()
if(NOT info MATCHES "Page size:[^\n]*\\(A4\\)")
  message(FATAL_ERROR "${PDF}: not A4:\n${info}")
endif()

# The pictures drawn, one line each after the two header lines; a
# transparent picture's mask has a line of its own of type smask.
execute_process(COMMAND ${PDFIMAGES} -list ${PDF} OUTPUT_VARIABLE seznam RESULT_VARIABLE rc)
string(REGEX MATCHALL "\n *[0-9]+ +[0-9]+ +image " obrazky "${seznam}")
list(LENGTH obrazky vPdf)

file(GLOB zdroje "${ZDROJE}/*.md")
set(vTextu 0)
foreach(zdroj ${zdroje})
  file(READ ${zdroj} text)
  string(REGEX MATCHALL "!\\[[^]]*\\]\\([^)]+\\)" odkazy "${text}")
  list(LENGTH odkazy n)
  math(EXPR vTextu "${vTextu} + ${n}")
endforeach()
if(vTextu EQUAL 0 OR NOT vPdf EQUAL vTextu)
  message(FATAL_ERROR "${PDF}: ${vPdf} pictures, the text names ${vTextu}")
endif()
message(STATUS "${PDF}: ${stran} pages, ${vPdf} pictures")
