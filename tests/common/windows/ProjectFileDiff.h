#pragma once
// Compares two project files record by record, as the program's reader lays them out, so that a
// test that expects a file names what changed, not only that the bytes differ.
#include <string>
#include <string_view>

// "" for files equal byte for byte. Otherwise one line for each of the first `shown` records that
// differ, each naming the record's number, its model field, the element it belongs to and both
// values, then how many more differ. Records are paired by their element's place in the file, so
// a record that only one file holds (a group more) is named as such. A file the reader refuses
// is named with the reason.
std::string ProjectFileDifferences(std::string_view made, std::string_view expected, int shown = 5);
