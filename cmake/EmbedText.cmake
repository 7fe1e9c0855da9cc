# Compiles a text file of the repository into a library as a C++ raw string literal, so that the
# file in examples/ and the text built in can never differ. The literal lands in
# <binary dir>/generated/<include path>, found through the target's include directories.
function(xpschain_embed_text target source includePath)
  file(READ ${source} text)
  file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/${includePath}
       CONTENT "R\"xpschain(@text@)xpschain\"\n" @ONLY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
  target_include_directories(${target} PRIVATE ${CMAKE_BINARY_DIR}/generated)
endfunction()
