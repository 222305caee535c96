#include "chm/mspack_lzx.h"

#include <cstdlib>
#include <cstring>
#include <sys/types.h>

#include <mspack.h>

// The decoder is not in libmspack's public header; these are its entry
// points as the library defines them.
extern "C" {
struct lzxd_stream;
lzxd_stream* lzxd_init(mspack_system* system, mspack_file* input, mspack_file* output, int window_bits,
                       int reset_interval, int input_buffer_size, off_t output_length, char is_delta);
int lzxd_decompress(lzxd_stream* lzx, off_t out_bytes);
void lzxd_free(lzxd_stream* lzx);
}

namespace thc::testing {

namespace {

// The decoder's input and output, in memory. libmspack only ever hands our
// own handles back to our callbacks.
struct MemoryFile {
  std::string_view input;
  std::size_t read = 0;
  std::string output;
};

MemoryFile& memory(mspack_file* file) { return *reinterpret_cast<MemoryFile*>(file); }

int readMemory(mspack_file* file, void* buffer, int bytes) {
  MemoryFile& m = memory(file);
  const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(bytes), m.input.size() - m.read);
  std::memcpy(buffer, m.input.data() + m.read, n);
  m.read += n;
  return static_cast<int>(n);
}

int writeMemory(mspack_file* file, void* buffer, int bytes) {
  memory(file).output.append(static_cast<const char*>(buffer), static_cast<std::size_t>(bytes));
  return bytes;
}

void* allocate(mspack_system*, size_t bytes) { return std::malloc(bytes); }
void release(void* p) { std::free(p); }
void copy(void* from, void* to, size_t bytes) { std::memmove(to, from, bytes); }
void message(mspack_file*, const char*, ...) {}

mspack_system memorySystem() {
  mspack_system system{};
  system.read = &readMemory;
  system.write = &writeMemory;
  system.message = &message;
  system.alloc = &allocate;
  system.free = &release;
  system.copy = &copy;
  return system;
}

}  // namespace

std::optional<std::string> mspackDecodeLzx(std::string_view compressed, std::uint64_t length) {
  constexpr int kWindowBits = 16;
  constexpr int kFramesPerReset = 2;
  constexpr std::uint64_t kResetBytes = 65536;
  mspack_system system = memorySystem();
  MemoryFile file{compressed, 0, {}};
  auto* handle = reinterpret_cast<mspack_file*>(&file);
  // The help file reader gives the length rounded up to a whole interval.
  const auto rounded = static_cast<off_t>((length + kResetBytes - 1) / kResetBytes * kResetBytes);
  lzxd_stream* lzx = lzxd_init(&system, handle, handle, kWindowBits, kFramesPerReset, 4096, rounded, 0);
  if (!lzx) return std::nullopt;
  const int error = lzxd_decompress(lzx, static_cast<off_t>(length));
  lzxd_free(lzx);
  if (error != MSPACK_ERR_OK) return std::nullopt;
  return std::move(file.output);
}

}  // namespace thc::testing
