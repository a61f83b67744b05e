# Writes the application icon (the XPM image the window shows, from
# res/icons.cpp) as an .ico file, for the executable's icon resource: so
# Explorer, the Start menu and the installer show the window's icon. The
# file holds one 32 x 32 image of 32 bits per pixel with its alpha, and the
# AND mask the format requires. CMake writes no binary files: the bytes go
# out as printf escapes, which printf turns into the file.
#   cmake -DICONS=res/icons.cpp -DOUTPUT=vantrel.ico -P icon_file.cmake
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

# The bytes of the file, each as a printf escape.
set(escapes "")
macro(add_bytes)
  foreach(value ${ARGN})
    math(EXPR d2 "${value} / 64")
    math(EXPR d1 "(${value} / 8) % 8")
    math(EXPR d0 "${value} % 8")
    string(APPEND escapes "\\${d2}${d1}${d0}")
  endforeach()
endmacro()

# The palette: "<key> c #RRGGBB" or "<key> c None" (transparent), as BGRA.
foreach(i RANGE 1 ${colours})
  list(POP_FRONT rows line)
  string(SUBSTRING "${line}" 0 1 key)
  if(line MATCHES "c #([0-9A-Fa-f][0-9A-Fa-f])([0-9A-Fa-f][0-9A-Fa-f])([0-9A-Fa-f][0-9A-Fa-f])")
    math(EXPR r "0x${CMAKE_MATCH_1}")
    math(EXPR g "0x${CMAKE_MATCH_2}")
    math(EXPR b "0x${CMAKE_MATCH_3}")
    set(colour_${key} ${b} ${g} ${r} 255)
    set(opaque_${key} 1)
  else()
    set(colour_${key} 0 0 0 0)
    set(opaque_${key} 0)
  endif()
endforeach()

# ICONDIR: type 1 (icon), one image; its entry: 32 x 32, 1 plane, 32 bits,
# 4264 bytes (40 of header, 4096 of colour, 128 of mask) from offset 22.
add_bytes(0 0 1 0 1 0  32 32 0 0 1 0 32 0 168 16 0 0 22 0 0 0)
# BITMAPINFOHEADER: the height counts the colour rows and the mask's.
add_bytes(40 0 0 0  32 0 0 0  64 0 0 0  1 0  32 0  0 0 0 0
          0 0 0 0  0 0 0 0  0 0 0 0  0 0 0 0  0 0 0 0)
# Rows go bottom up: the colour image, then the mask (1 = transparent),
# each mask row 32 bits.
set(mask "")
foreach(y RANGE 31 0 -1)
  list(GET rows ${y} row)
  foreach(byte RANGE 0 3)
    set(value 0)
    foreach(bit RANGE 0 7)
      math(EXPR x "${byte} * 8 + ${bit}")
      string(SUBSTRING "${row}" ${x} 1 key)
      add_bytes(${colour_${key}})
      if(opaque_${key})
        math(EXPR value "${value} * 2")
      else()
        math(EXPR value "${value} * 2 + 1")
      endif()
    endforeach()
    list(APPEND mask ${value})
  endforeach()
endforeach()
add_bytes(${mask})

file(WRITE ${OUTPUT}.printf "${escapes}")
execute_process(COMMAND sh -c "printf \"$(cat \"$1\")\" >\"$2\"" sh ${OUTPUT}.printf ${OUTPUT} RESULT_VARIABLE failed)
file(SIZE ${OUTPUT} size)
if(failed OR NOT size EQUAL 4286)
  message(FATAL_ERROR "writing ${OUTPUT} failed")
endif()
