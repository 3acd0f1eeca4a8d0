# The sample payload that lies beside the setup program in the distribution
# folder: the folders the wizard copies from, each file a short placeholder
# that says it is a sample and not the real library.
#   pivro_write_sample_payload(<folder>)
function(pivro_write_sample_payload folder)
  set(files
    include/pivro.h include/graphics.h
    lib_vc6/Pivroa.lib lib_vc6/Pivrow.lib)
  foreach(vc lib_vc2008 lib_vc2015)
    foreach(arch x86 x64)
      list(APPEND files ${vc}/${arch}/Pivroa.lib ${vc}/${arch}/Pivrow.lib)
    endforeach()
  endforeach()
  foreach(flavour lib_mingw_492 lib_mingw_ucrt lib_mingw_msvcrt)
    foreach(arch x86 x64)
      list(APPEND files ${flavour}/${arch}/libpivro.a ${flavour}/${arch}/libpivrow.a)
    endforeach()
  endforeach()
  foreach(file ${files})
    set(text "Sample placeholder for ${file}: a stand-in for the Pivro library file of this name, made by the setup wizard's build for demonstrations and tests. It is not a working header or library.\n")
    if(file MATCHES "\\.h$")
      set(text "/* ${text} */\n")
    endif()
    # Written only when different, so a rebuild keeps the files' times.
    if(EXISTS "${folder}/${file}")
      file(READ "${folder}/${file}" old)
      if(old STREQUAL text)
        continue()
      endif()
    endif()
    file(WRITE "${folder}/${file}" "${text}")
  endforeach()
endfunction()
