# cmake -DEXE=FILE -DMAX_BYTES=N -P size.cmake: fails when the file is larger than N bytes.
file(SIZE "${EXE}" bytes)
if(bytes GREATER MAX_BYTES)
  message(FATAL_ERROR "${EXE} is ${bytes} bytes, more than ${MAX_BYTES}")
endif()
message("${EXE} is ${bytes} bytes, at most ${MAX_BYTES}")
