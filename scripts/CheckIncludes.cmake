# Run by the build (cmake -DLIST=<file of paths> -DSTAMP=<file> -P CheckIncludes.cmake): fails
# when a source includes a header by a path that climbs out of its folder, and lists each such
# include; touches the stamp when there is none.
file(STRINGS "${LIST}" files)
set(found "")
foreach(file IN LISTS files)
  file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<][^\">]*\\.\\.[/\\\\]")
  foreach(line IN LISTS lines)
    string(APPEND found "  ${file}: ${line}\n")
  endforeach()
endforeach()
if(found)
  message(FATAL_ERROR "These includes leave their folder by a relative path; include the header "
                      "by its folder from the include root (\"model/Classd.h\"):\n${found}")
endif()
file(TOUCH "${STAMP}")
