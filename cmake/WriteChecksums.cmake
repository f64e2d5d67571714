# cmake -DOUTPUT=<file> -DFILES=<a;b> -P WriteChecksums.cmake: "<sha256>  <file name>" lines, as sha256sum.
set(lines "")
foreach(file IN LISTS FILES)
  file(SHA256 ${file} hash)
  get_filename_component(name ${file} NAME)
  string(APPEND lines "${hash}  ${name}\n")
endforeach()
file(WRITE ${OUTPUT} "${lines}")
