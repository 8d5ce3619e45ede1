#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <functional>
#include <string>
#include <system_error>

// Where the bytes of a log come from, and the Spanish messages of what keeps them from coming:
//
//   /home/ana/golf.csv   a regular file: opened, then read in chunks of up to 1 MiB
//   /home/ana            No se puede abrir el registro "/home/ana": es una carpeta, no un archivo.
//   /tmp/pipe            No se puede abrir el registro "/tmp/pipe": no es un archivo normal.
//   /home/ana/vacio.csv  No se puede abrir el registro "/home/ana/vacio.csv": el archivo está
//   vacío.
//
// Only a regular file is read: a FIFO or a device could block or never end.
namespace LogInput {

constexpr size_t ChunkSize = size_t(1) << 20;

// Opens the log at `path` for reading into `file` and tells its size (0 when unknown). Returns an
// empty text, or the message of why it cannot be opened.
QString open(const QString &path, std::filebuf &file, uint64_t &size);

// The size of the chunks to read a file of `fileSize` bytes in: a small log gets a buffer of its
// own size (plus one byte, to see the end in one read), a large one ChunkSize.
size_t chunkSizeFor(uint64_t fileSize);

// Reads `file` to its end in chunks of `chunkSize` bytes, handing each to `take`, which tells
// whether to go on; `total` counts the bytes read. Returns the error of a failed read.
std::error_code readChunks(std::filebuf &file, size_t chunkSize, uint64_t &total,
                           const std::function<bool(const char *, size_t)> &take);

// The first `size` bytes of `file` read again; the reading then goes on where it was. Fewer
// bytes when the file changed meanwhile or the read fails.
std::string readStart(std::filebuf &file, size_t size);

// The reason for a failed open or read, as the end of a message.
QString reasonFor(const std::error_code &error);
QString reasonFor(std::errc error);

// "No se puede abrir el registro "<path>": <reason>" and the same with "leer".
QString cannotOpen(const QString &path, const QString &reason);
QString cannotRead(const QString &path, const QString &reason);

} // namespace LogInput
