# Adds AppStream's list of the languages the game speaks to the translated
# metainfo: run by cmake/PackageDeb.cmake as
# cmake -DIN=... -DOUT=... -DLANGUAGES="de;en" -P MetainfoLanguages.cmake.
# The catalogue check lets no catalogue in incomplete, so each is 100 %.
file(READ ${IN} metainfo)
set(list "  <languages>\n")
foreach(language IN LISTS LANGUAGES)
  string(APPEND list "    <lang percentage=\"100\">${language}</lang>\n")
endforeach()
string(APPEND list "  </languages>\n</component>")
string(REPLACE "</component>" "${list}" metainfo "${metainfo}")
file(WRITE ${OUT} "${metainfo}")
