# cmake -DOUTPUT=<file> -DFILES=<a;b> [-DNESTED=<c;d> -DNESTED_BASE=<dir>] -P WriteChecksums.cmake:
# "<sha256>  <file name>" lines, as sha256sum. FILES are named by their file name (they lie at the top of
# the archive), NESTED by their path below NESTED_BASE (the LV2 bundles' libraries).
set(lines "")
foreach(file IN LISTS FILES)
  file(SHA256 ${file} hash)
  get_filename_component(name ${file} NAME)
  string(APPEND lines "${hash}  ${name}\n")
endforeach()
foreach(file IN LISTS NESTED)
  file(SHA256 ${file} hash)
  file(RELATIVE_PATH name ${NESTED_BASE} ${file})
  string(APPEND lines "${hash}  ${name}\n")
endforeach()
file(WRITE ${OUTPUT} "${lines}")
