# Writes the application icon (the XPM image the window shows, from
# res/icons.cpp) as the resource script of an icon group, so Explorer, the
# Start menu and the installer show the same icon as the window's title bar.
# The image goes in as data words: one 32 x 32 icon of 32 bits per pixel
# with its alpha, and the AND mask the format requires.
#   cmake -DICONS=res/icons.cpp -DOUTPUT=icon.rc -P icon_resource.cmake
file(READ ${ICONS} source)
string(FIND "${source}" "kAppIcon[] = {" start)
if(start LESS 0)
  message(FATAL_ERROR "no kAppIcon in ${ICONS}")
endif()
string(SUBSTRING "${source}" ${start} -1 source)
string(FIND "${source}" "};" end)
string(SUBSTRING "${source}" 0 ${end} source)
string(REGEX MATCHALL "\"[^\"]*\"" rows "${source}")
list(TRANSFORM rows REPLACE "^\"(.*)\"$" "\\1")

list(POP_FRONT rows header)
string(REPLACE " " ";" header "${header}")
list(GET header 0 width)
list(GET header 1 height)
list(GET header 2 colours)
list(GET header 3 per_pixel)
if(NOT per_pixel EQUAL 1 OR NOT width EQUAL 32 OR NOT height EQUAL 32)
  message(FATAL_ERROR "the icon is not the 32 x 32 one-character XPM this script reads")
endif()

# The palette: "<key> c #RRGGBB" or "<key> c None" (transparent), as BGRA.
foreach(i RANGE 1 ${colours})
  list(POP_FRONT rows line)
  string(SUBSTRING "${line}" 0 1 key)
  string(REGEX MATCH "c #([0-9A-Fa-f][0-9A-Fa-f])([0-9A-Fa-f][0-9A-Fa-f])([0-9A-Fa-f][0-9A-Fa-f])" rgb "${line}")
  if(rgb)
    set(colour_${key} "${CMAKE_MATCH_3};${CMAKE_MATCH_2};${CMAKE_MATCH_1};FF")
    set(opaque_${key} 1)
  else()
    set(colour_${key} "00;00;00;00")
    set(opaque_${key} 0)
  endif()
endforeach()

# The data as little-endian 16-bit words.
set(words "")
macro(add_bytes)
  set(bytes ${ARGN})
  list(LENGTH bytes count)
  math(EXPR last "${count} - 1")
  foreach(j RANGE 0 ${last} 2)
    math(EXPR k "${j} + 1")
    list(GET bytes ${j} low)
    list(GET bytes ${k} high)
    string(APPEND words "0x${high}${low},")
  endforeach()
endmacro()

# BITMAPINFOHEADER: the height counts the colour rows and the mask's.
add_bytes(28 00 00 00  20 00 00 00  40 00 00 00  01 00  20 00  00 00 00 00
          00 00 00 00  00 00 00 00  00 00 00 00  00 00 00 00  00 00 00 00)
# Rows go bottom up: the colour image, then the mask (1 = transparent),
# each mask row 32 bits.
set(mask "")
foreach(y RANGE 31 0 -1)
  list(GET rows ${y} row)
  set(bits "")
  foreach(x RANGE 0 31)
    string(SUBSTRING "${row}" ${x} 1 key)
    add_bytes(${colour_${key}})
    if(opaque_${key})
      string(APPEND bits 0)
    else()
      string(APPEND bits 1)
    endif()
  endforeach()
  string(APPEND words "\n")
  foreach(b RANGE 0 24 8)
    string(SUBSTRING "${bits}" ${b} 8 byte_bits)
    set(value 0)
    foreach(bit RANGE 0 7)
      string(SUBSTRING "${byte_bits}" ${bit} 1 one)
      math(EXPR value "${value} * 2 + ${one}")
    endforeach()
    math(EXPR hex "${value}" OUTPUT_FORMAT HEXADECIMAL)
    string(REPLACE "0x" "" hex "${hex}")
    string(LENGTH "${hex}" n)
    if(n LESS 2)
      set(hex "0${hex}")
    endif()
    list(APPEND mask ${hex})
  endforeach()
endforeach()
set(image_words "${words}")
set(words "")
add_bytes(${mask})
string(APPEND image_words "${words}")
string(REGEX REPLACE ",$" "" image_words "${image_words}")

# 40 header bytes, 4096 of colour, 128 of mask.
file(WRITE ${OUTPUT} "// Written by ui_win32/icon_resource.cmake from res/icons.cpp.
// RT_ICON (3) number 1, the image.
1 3
BEGIN
${image_words}
END

// RT_GROUP_ICON (14), the group Explorer shows: type 1 (icon), one entry of
// 32 x 32, 1 plane, 32 bits, 4264 bytes, image number 1.
128 14
BEGIN
0x0000, 0x0001, 0x0001, 0x2020, 0x0000, 0x0001, 0x0020, 0x10A8, 0x0000, 0x0001
END
")
