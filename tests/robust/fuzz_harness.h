// One fuzz input through one part of the program. The libFuzzer targets in
// fuzz/ and the regression tests here call the same functions, so an input
// that once crashed a target is replayed exactly as the target ran it.
//
// Each function returns "" when every rule held, else a description of the
// rule that broke; a crash or a sanitizer finding stops the process.
#pragma once

#include <string>
#include <string_view>

namespace thc::robust {

// The UTF-16 text of fuzz bytes. Bytes after a leading 0x01 are read as raw
// little-endian code units (so unpaired surrogates and every unit can be
// reached); any other input is read as UTF-8.
std::u16string fuzzText16(std::string_view bytes);

// trimText, textToInteger, fileExtension, directoryPart, lowerAscii, the
// UTF-8 conversions and the platform's case mapping.
std::string fuzzTextHelpers(std::string_view bytes);

// translateMarkup inside a library and a class, as the readers call it.
std::string fuzzMarkup(std::string_view bytes);

// buildCatalog, readLine, unescapeCatalogValue and every catalog word.
std::string fuzzCatalog(std::string_view bytes);

// The XML bytes through every stage as the driver runs them: load, read,
// check, catalog, sort, index extension, then every page body and the
// contents, index and help project texts built in memory. Imports point into
// a folder that does not exist; nothing is written.
std::string fuzzPipeline(std::string_view bytes);

// An HTML page through the help compiler's page reader, word breaker and
// search index; the first byte picks the help's code page (Windows-1252,
// Windows-1251 or Shift-JIS), as pages that are not UTF-8 are read in it.
std::string fuzzPage(std::string_view bytes);

// The bytes through the LZX compressor and back through libmspack's decoder
// (tests/chm/lzx_roundtrip.cpp, linked with libmspack). The first byte
// picks the thread count, the piece size and whether the rest is repeated
// past a frame's end.
std::string fuzzLzx(std::string_view bytes);

}  // namespace thc::robust
