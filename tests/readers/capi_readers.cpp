// CHMLib and libmspack through their C APIs: every stored name looked up
// one by one, as viewers do, and every file read back.
#include <chm_lib.h>
#include <gtest/gtest.h>
#include <mspack.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>

#include "readers/chm_readers.h"

namespace thc::testing {
namespace {

int collectName(chmFile*, chmUnitInfo* unit, void* names) {
  static_cast<std::vector<std::string>*>(names)->emplace_back(unit->path);
  return CHM_ENUMERATOR_CONTINUE;
}

bool isStoredFile(const std::string& name) { return name.size() > 1 && name[0] == '/' && name.back() != '/'; }

// Looks the name up as a viewer does (through the index chunks) and reads
// the whole file.
void readChmLibFile(chmFile* file, const std::string& name, ReaderView& view) {
  chmUnitInfo unit{};
  if (chm_resolve_object(file, name.c_str(), &unit) != CHM_RESOLVE_SUCCESS) {
    view.complaints.push_back("chm_resolve_object finds no " + name);
    return;
  }
  std::string bytes(unit.length, '\0');
  LONGUINT64 done = 0;
  while (done < unit.length) {
    const LONGINT64 got =
        chm_retrieve_object(file, &unit, reinterpret_cast<unsigned char*>(bytes.data()) + done, done,
                            static_cast<LONGINT64>(unit.length - done));
    if (got <= 0) {
      view.complaints.push_back("chm_retrieve_object reads " + std::to_string(done) + " of " +
                                std::to_string(unit.length) + " bytes of " + name);
      return;
    }
    done += static_cast<LONGUINT64>(got);
  }
  view.files[name] = std::move(bytes);
}

}  // namespace

ReaderView readWithChmLib(const std::string& chm) {
  ReaderView view{"CHMLib"};
  chmFile* file = chm_open(chm.c_str());
  if (!file) {
    view.complaints.push_back("chm_open fails");
    return view;
  }
  std::vector<std::string> names, inRoot;
  if (!chm_enumerate(file, CHM_ENUMERATE_ALL, collectName, &names)) {
    view.complaints.push_back("chm_enumerate stops early");
  }
  // Viewers built on CHMLib list a folder through its own directory entry.
  if (!chm_enumerate_dir(file, "/", CHM_ENUMERATE_ALL, collectName, &inRoot)) {
    view.complaints.push_back("chm_enumerate_dir(\"/\") stops early");
  }
  const std::set<std::string> listedInRoot(inRoot.begin(), inRoot.end());
  for (const std::string& name : names) {
    if (!isStoredFile(name)) continue;
    if (!listedInRoot.count(name)) view.complaints.push_back("chm_enumerate_dir(\"/\") lists no " + name);
    readChmLibFile(file, name, view);
  }
  chm_close(file);
  return view;
}

namespace {

// libmspack's file access: the help file from disk, extracted files into
// memory, and every message it gives kept.
struct MemorySystem {
  mspack_system base;  // first, so that the library's pointer is ours
  std::map<std::string, std::string> written;
  std::vector<std::string> messages;
};

struct MemoryFile {
  MemorySystem* system;
  FILE* disk;
  std::string* memory;
};

MemoryFile* memoryFile(mspack_file* file) { return reinterpret_cast<MemoryFile*>(file); }

mspack_file* openFile(mspack_system* self, const char* name, int mode) {
  MemorySystem* system = reinterpret_cast<MemorySystem*>(self);
  if (mode == MSPACK_SYS_OPEN_READ) {
    FILE* disk = std::fopen(name, "rb");
    return disk ? reinterpret_cast<mspack_file*>(new MemoryFile{system, disk, nullptr}) : nullptr;
  }
  if (mode != MSPACK_SYS_OPEN_WRITE) return nullptr;
  std::string* memory = &system->written[name];
  memory->clear();
  return reinterpret_cast<mspack_file*>(new MemoryFile{system, nullptr, memory});
}

void closeFile(mspack_file* file) {
  if (memoryFile(file)->disk) std::fclose(memoryFile(file)->disk);
  delete memoryFile(file);
}

int readFile(mspack_file* file, void* buffer, int bytes) {
  FILE* disk = memoryFile(file)->disk;
  if (!disk) return -1;
  const size_t got = std::fread(buffer, 1, static_cast<size_t>(bytes), disk);
  return std::ferror(disk) ? -1 : static_cast<int>(got);
}

int writeFile(mspack_file* file, void* buffer, int bytes) {
  std::string* memory = memoryFile(file)->memory;
  if (!memory) return -1;
  memory->append(static_cast<const char*>(buffer), static_cast<size_t>(bytes));
  return bytes;
}

int seekFile(mspack_file* file, off_t offset, int mode) {
  FILE* disk = memoryFile(file)->disk;
  const int whence = mode == MSPACK_SYS_SEEK_START ? SEEK_SET
                     : mode == MSPACK_SYS_SEEK_CUR ? SEEK_CUR
                                                   : SEEK_END;
  return disk ? ::fseeko(disk, offset, whence) : -1;
}

off_t tellFile(mspack_file* file) {
  FILE* disk = memoryFile(file)->disk;
  return disk ? ::ftello(disk) : static_cast<off_t>(memoryFile(file)->memory->size());
}

void keepMessage(mspack_file* file, const char* format, ...) {
  char text[1024];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  // A message about no file in particular has no reader view to go to.
  if (file) {
    memoryFile(file)->system->messages.push_back(text);
  } else {
    ADD_FAILURE() << "libmspack: " << text;
  }
}

void* allocate(mspack_system*, size_t bytes) { return std::malloc(bytes); }
void release(void* memory) { std::free(memory); }
void copyBytes(void* from, void* to, size_t bytes) { std::memcpy(to, from, bytes); }

MemorySystem memorySystem() {
  MemorySystem system{};
  system.base = mspack_system{openFile,    closeFile, readFile, writeFile, seekFile, tellFile,
                              keepMessage, allocate,  release,  copyBytes, nullptr};
  return system;
}

std::string sectionOf(const mschmd_file& file) {
  return file.section ? std::to_string(file.section->id) : "none";
}

// Each name looked up again through the index chunks and quick references
// alone, as libmspack does before it decompresses anything.
void fastFindEach(mschm_decompressor* decompressor, const std::string& chm, const mschmd_file* files,
                  ReaderView& view) {
  mschmd_header* fast = decompressor->fast_open(decompressor, chm.c_str());
  if (!fast) {
    view.complaints.push_back("fast_open fails with error " +
                              std::to_string(decompressor->last_error(decompressor)));
    return;
  }
  for (const mschmd_file* file = files; file; file = file->next) {
    mschmd_file found{};
    const int error = decompressor->fast_find(decompressor, fast, file->filename, &found, sizeof found);
    if (error || !found.section || found.section->id != file->section->id || found.offset != file->offset ||
        found.length != file->length) {
      view.complaints.push_back(std::string("fast_find gives ") + file->filename + " section " +
                                sectionOf(found) + " offset " + std::to_string(found.offset) + " length " +
                                std::to_string(found.length) + ", the listing section " + sectionOf(*file) +
                                " offset " + std::to_string(file->offset) + " length " +
                                std::to_string(file->length));
    }
  }
  decompressor->close(decompressor, fast);
}

void extractEach(mschm_decompressor* decompressor, MemorySystem& system, const mschmd_header& header,
                 ReaderView& view) {
  for (const mschmd_file* file = header.files; file; file = file->next) {
    const std::string name = file->filename;
    const int error = decompressor->extract(decompressor, const_cast<mschmd_file*>(file), name.c_str());
    if (error != MSPACK_ERR_OK) {
      view.complaints.push_back("extract " + name + " fails with error " + std::to_string(error));
      continue;
    }
    view.files[name] = std::move(system.written[name]);
  }
}

}  // namespace

ReaderView readWithLibmspack(const std::string& chm) {
  ReaderView view{"libmspack"};
  int selfTest = 0;
  MSPACK_SYS_SELFTEST(selfTest);
  if (selfTest != MSPACK_ERR_OK) {
    view.complaints.push_back("libmspack fails its self-test");
    return view;
  }
  MemorySystem system = memorySystem();
  mschm_decompressor* decompressor = mspack_create_chm_decompressor(&system.base);
  mschmd_header* header = decompressor->open(decompressor, chm.c_str());
  if (!header) {
    view.complaints.push_back("open fails with error " +
                              std::to_string(decompressor->last_error(decompressor)));
  } else {
    extractEach(decompressor, system, *header, view);
    fastFindEach(decompressor, chm, header->files, view);
    fastFindEach(decompressor, chm, header->sysfiles, view);
    decompressor->close(decompressor, header);
  }
  mspack_destroy_chm_decompressor(decompressor);
  // The same warning comes again each time the file is opened.
  for (const std::string& message : std::set<std::string>(system.messages.begin(), system.messages.end())) {
    view.complaints.push_back(message);
  }
  return view;
}

}  // namespace thc::testing
