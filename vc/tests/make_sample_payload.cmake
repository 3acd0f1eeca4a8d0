# Writes the placeholder library files that the install tests copy: each one
# says what it is and where it came from, so a copy from the wrong folder
# shows in a byte-for-byte comparison.
#   cmake -DOUT=<setup folder> -DFILES=<relative paths, ;-list> -P make_sample_payload.cmake
foreach(f IN LISTS FILES)
  file(WRITE "${OUT}/${f}"
       "Sample ${f} for the setup's tests.\r\nA placeholder: not the Pivro library, never compiled against.\r\n")
endforeach()
