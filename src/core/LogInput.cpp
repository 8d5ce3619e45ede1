#include "core/LogInput.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <ios>
#include <memory>

namespace {

// The path as the file system takes it: UTF-16 on Windows, the 8-bit file name encoding elsewhere.
std::filesystem::path filePath(const QString &path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

} // namespace

namespace LogInput {

// A FIFO's type is known before it is opened, so a FIFO at the path is refused without waiting
// for a writer; status() follows links, so a dangling link does not exist. What remains is the
// moment between that look and the opening: a path replaced by a FIFO just then makes the opening
// wait for a writer, and one replaced by a device is read as a file (standard C++ opens no file
// without waiting, nor tells the type of an open one).
QString open(const QString &path, std::filebuf &file, uint64_t &size)
{
    if (path.isEmpty() || path.contains(QChar(0)))
        return cannotOpen(path, reasonFor(std::errc::no_such_file_or_directory));
    const std::filesystem::path name = filePath(path);
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(name, error);
    if (error)
        return cannotOpen(path, reasonFor(error));
    if (std::filesystem::is_directory(status))
        return cannotOpen(path, reasonFor(std::errc::is_a_directory));
    if (!std::filesystem::is_regular_file(status))
        return cannotOpen(path, QStringLiteral("no es un archivo normal."));
    size = std::filesystem::file_size(name, error);
    if (error)
        size = 0;

    // Unbuffered: the reads go straight into the reader's chunk. std::filebuf keeps no reason for
    // a failed open; the one the C library's open leaves in errno is taken.
    file.pubsetbuf(nullptr, 0);
    errno = 0;
    if (!file.open(name, std::ios::in | std::ios::binary))
        return cannotOpen(path, reasonFor(std::error_code(errno, std::generic_category())));
    return QString();
}

size_t chunkSizeFor(uint64_t fileSize)
{
    // Files such as those of /proc report no size: the reading goes on whatever the size said.
    return std::clamp<size_t>(size_t(std::min<uint64_t>(fileSize, ChunkSize)) + 1, 4096, ChunkSize);
}

std::error_code readChunks(std::filebuf &file, size_t chunkSize, uint64_t &total,
                           const std::function<bool(const char *, size_t)> &take)
{
    const std::unique_ptr<char[]> chunk(new char[chunkSize]);
    try {
        for (;;) {
            const std::streamsize n = file.sgetn(chunk.get(), std::streamsize(chunkSize));
            bool goOn = true;
            if (n > 0) {
                total += uint64_t(n);
                goOn = take(chunk.get(), size_t(n));
            }
            // sgetn() stops short only at the end of the file.
            if (size_t(std::max<std::streamsize>(n, 0)) < chunkSize || !goOn)
                return std::error_code();
        }
    } catch (const std::ios_base::failure &readFailed) {
        // The reason of the failed read; a library that reports none simply ends the file here.
        return readFailed.code();
    }
}

std::string readStart(std::filebuf &file, size_t size)
{
    const std::streampos resume = file.pubseekoff(0, std::ios::cur, std::ios::in);
    if (resume == std::streampos(-1))
        return std::string();
    std::string bytes(size, '\0');
    std::streamsize got = 0;
    try {
        if (file.pubseekpos(0, std::ios::in) == std::streampos(0))
            got = file.sgetn(bytes.data(), std::streamsize(size));
    } catch (const std::ios_base::failure &) {
    }
    file.pubseekpos(resume, std::ios::in);
    bytes.resize(size_t(std::max<std::streamsize>(got, 0)));
    return bytes;
}

// The codes are those of <cerrno>, compared as portable conditions, so that a system's own codes
// for them (Windows') read the same.
QString reasonFor(const std::error_code &error)
{
    using std::errc;
    if (error == errc::no_such_file_or_directory || error == errc::not_a_directory)
        return QStringLiteral("el archivo no existe.");
    if (error == errc::permission_denied || error == errc::operation_not_permitted)
        return QStringLiteral("no hay permiso para leerlo.");
    if (error == errc::is_a_directory)
        return QStringLiteral("es una carpeta, no un archivo.");
    if (error == errc::too_many_symbolic_link_levels)
        return QStringLiteral("los enlaces simbólicos forman un bucle.");
    if (error == errc::filename_too_long)
        return QStringLiteral("el nombre es demasiado largo.");
    if (error == errc::too_many_files_open || error == errc::too_many_files_open_in_system)
        return QStringLiteral("hay demasiados archivos abiertos.");
    if (error == errc::not_enough_memory)
        return QStringLiteral("no hay memoria suficiente.");
    if (error == errc::io_error)
        return QStringLiteral("error de entrada/salida del disco.");
    return QStringLiteral("error del sistema número %1.").arg(error.value());
}

QString reasonFor(std::errc error)
{
    return reasonFor(std::make_error_code(error));
}

QString cannotOpen(const QString &path, const QString &reason)
{
    return QStringLiteral("No se puede abrir el registro \"%1\": %2").arg(path, reason);
}

QString cannotRead(const QString &path, const QString &reason)
{
    return QStringLiteral("No se puede leer el registro \"%1\": %2").arg(path, reason);
}

} // namespace LogInput
