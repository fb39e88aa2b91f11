#include "project_file/vor_file.h"

#include <QDir>
#include <QFile>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

#include "project_file/cp932.h"
#include "project_file/save_file.h"

namespace mk {

namespace {

// Reading stops after kMaxBytes, so that an oversized file cannot stall Open;
// the line split then keeps only the lines the layout can use.
constexpr qint64 kMaxBytes = 8 * 1024 * 1024;

// A buffer this large or larger is given back after the read; a project
// file is a few KiB.
constexpr std::size_t kKeptBufferBytes = 256 * 1024;

// Reads the file's bytes, up to kMaxBytes, into `bytes`.  A file that
// reports its size is read in one read of that size: the file as it was
// when opened.  One that does not (a pipe, a device) is read until it ends.
// A read failure keeps what was read.
void ReadHead(QFile& file, std::string& bytes) {
  const qint64 size = file.size();
  if (size > 0) {
    bytes.resize(static_cast<std::size_t>(std::min(size, kMaxBytes)));
    const qint64 n = file.read(bytes.data(), static_cast<qint64>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(std::max<qint64>(n, 0)));
    return;
  }
  std::size_t filled = 0;
  while (filled < static_cast<std::size_t>(kMaxBytes)) {
    if (filled == bytes.size()) bytes.resize(std::clamp<std::size_t>(bytes.size() * 2, 4096, kMaxBytes));
    const qint64 n = file.read(bytes.data() + filled, static_cast<qint64>(bytes.size() - filled));
    if (n <= 0) break;
    filled += static_cast<std::size_t>(n);
  }
  bytes.resize(filled);
}


}  // namespace

std::optional<QString> WriteProjectFile(const QString& path, const ProjectRecord& record) {
  QByteArray bytes;
  for (const std::string& line : ProjectFileLines(record)) {
    // A line break inside a value would shift every later line of the file.
    if (line.find_first_of("\r\n") != std::string::npos) {
      return QStringLiteral("改行を含む入力があるため、保存できません。改行を取り除いてから保存してください。");
    }
    std::string badChar;
    const std::optional<QByteArray> encoded = EncodeCp932(line, &badChar);
    if (!encoded) {
      return QStringLiteral("「%1」はファイルに保存できない文字です（入力「%2」）。この文字を別の文字に直してから保存してください。")
          .arg(QString::fromStdString(badChar), QString::fromStdString(line));
    }
    bytes += *encoded;
    bytes += "\r\n";
  }

  return SaveFileWhole(path, bytes);
}

namespace {

#ifdef Q_OS_UNIX
// The file's bytes through the system calls themselves: open, one fstat for
// the size, one read of that size, close.  False when the file is not a
// regular file that opens, so that the caller goes through QFile, which
// reads what else can be read and words the reason when nothing can.
bool ReadRegularFile(const QString& path, std::string& bytes) {
  const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat status {};
  bool read = false;
  if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0) {
    bytes.resize(static_cast<std::size_t>(std::min<qint64>(status.st_size, kMaxBytes)));
    ssize_t n = 0;
    do {
      n = ::read(fd, bytes.data(), bytes.size());
    } while (n < 0 && errno == EINTR);
    bytes.resize(static_cast<std::size_t>(std::max<ssize_t>(n, 0)));
    read = true;
  }
  ::close(fd);
  return read;
}
#endif

// The file's bytes (up to kMaxBytes) into `bytes`, or the message saying why
// the file cannot be opened.
std::optional<QString> ReadBytes(const QString& path, std::string& bytes) {
#ifdef Q_OS_UNIX
  if (ReadRegularFile(path, bytes)) return std::nullopt;
#endif
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
    return QStringLiteral("「%1」を開けませんでした。").arg(ShownPath(path)) + QLatin1Char('\n') +
           file.errorString();
  }
  ReadHead(file, bytes);
  return std::nullopt;
}

}  // namespace

std::optional<QString> ReadProjectFile(const QString& path, ProjectRecord& record) {
  // The bytes and the decoded lines keep their storage from one file to the
  // next, so that reading many projects (mirukana-report --summary) does not
  // allocate and free the same buffers for every file.
  thread_local std::string bytes;
  thread_local std::vector<std::string> lines;
  if (auto error = ReadBytes(path, bytes)) return error;
  const std::vector<std::string_view> raw = SplitProjectFileLines(bytes);
  lines.resize(raw.size());
  for (std::size_t i = 0; i < raw.size(); ++i) DecodeCp932(raw[i], lines[i]);
  ReadProjectLines(lines, record);
  if (bytes.capacity() >= kKeptBufferBytes) std::string().swap(bytes);
  for (std::string& line : lines) {
    if (line.capacity() >= kKeptBufferBytes) std::string().swap(line);
  }
  return std::nullopt;
}

}  // namespace mk
