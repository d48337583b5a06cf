# Copies the application to the payload folder. With TOTAL > 0 it appends data until the file
# is about TOTAL bytes: deterministic text from a seeded generator, each 64 KiB block
# different, so that it compresses roughly like program code (about 2:1) instead of to nothing.
file(COPY_FILE ${IN} ${OUT})
if(TOTAL GREATER 0)
  file(SIZE ${IN} size)
  set(block 65536)
  math(EXPR blocks "(${TOTAL} - ${size}) / ${block}")
  foreach(i RANGE 1 ${blocks})
    string(RANDOM LENGTH ${block} ALPHABET "0123456789abcdefKALVETRA " RANDOM_SEED ${i} text)
    file(APPEND ${OUT} "${text}")
  endforeach()
endif()
