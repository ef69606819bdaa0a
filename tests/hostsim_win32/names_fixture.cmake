# Makes the files of the Windows host's session on names outside ASCII (run
# by the build machine's CMake, before the session runs under Wine): the
# sample layout as "Layout Ä é 𝄞.json", its RGB TIFF, JPEG and PDF in a
# folder "Bilder Ä" under names with "Ä", "é" and U+1D11E (a surrogate pair
# in UTF-16), the other pictures as they are; every picture stamped with the
# import time the layout records.
#   cmake -DSOURCE=<repository> -DOUT=<folder> -P names_fixture.cmake
file(REMOVE_RECURSE "${OUT}")
file(MAKE_DIRECTORY "${OUT}/Bilder Ä")
file(COPY "${SOURCE}/samples/pictures" DESTINATION "${OUT}")
set(renamed
  "rgb.tif|Bilder Ä/Ärger é 𝄞.tif"
  "photo.jpg|Bilder Ä/Café 𝄞.jpg"
  "pages.pdf|Bilder Ä/Seiten Ä é 𝄞.pdf")
file(READ "${SOURCE}/samples/sample.json" layout)
foreach(entry IN LISTS renamed)
  string(REPLACE "|" ";" pair "${entry}")
  list(GET pair 0 original)
  list(GET pair 1 name)
  file(COPY_FILE "${SOURCE}/samples/pictures/${original}" "${OUT}/${name}")
  string(REPLACE "\"pictures/${original}\"" "\"${name}\"" layout "${layout}")
endforeach()
file(WRITE "${OUT}/Layout Ä é 𝄞.json" "${layout}")
file(GLOB_RECURSE pictures "${OUT}/pictures/*" "${OUT}/Bilder Ä/*")
execute_process(COMMAND touch -d @1704067200 ${pictures} COMMAND_ERROR_IS_FATAL ANY)
