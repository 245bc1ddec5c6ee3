# The launcher carries its own manifest, but MinGW's gcc links
# default-manifest.o into every program when its runtime ships one, and two
# manifests cannot share their resource id. In that case, link with a specs
# file whose end-of-link list leaves it out.
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=default-manifest.o
  OUTPUT_VARIABLE default_manifest OUTPUT_STRIP_TRAILING_WHITESPACE)
if(IS_ABSOLUTE "${default_manifest}")
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -dumpspecs OUTPUT_VARIABLE specs)
  string(REGEX MATCH "\\*endfile:\n[^\n]*" endfile "${specs}")
  string(REPLACE "%:if-exists(default-manifest.o%s)" "" without_manifest "${endfile}")
  if(endfile STREQUAL "" OR without_manifest STREQUAL endfile)
    message(FATAL_ERROR "Cannot keep ${default_manifest} out of the link")
  endif()
  set(no_manifest_specs ${CMAKE_BINARY_DIR}/no-default-manifest.specs)
  file(WRITE ${no_manifest_specs} "${without_manifest}\n\n")
  add_link_options(-specs=${no_manifest_specs})
endif()
