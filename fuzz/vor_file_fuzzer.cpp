// Fuzz target: any bytes as a .vor project file, through Open (line split,
// CP932 decoding, the tolerant reader), the recompute, the report, the check
// run, and Save + Open again.  See project_file_checks.h for the properties.
//
// Every input goes through the in-memory path; one input in 32 (chosen by
// its bytes, so that a finding reproduces) also goes through the real
// ReadProjectFile and WriteProjectFile.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <QDir>
#include <QFile>

#include "project_file_checks.h"

namespace {

// One scratch folder per fuzzing process (parallel jobs must not share
// files), in memory where the machine has /dev/shm.
const QString& ScratchDir() {
  static const QString dir = [] {
    const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    const QString d = base + QStringLiteral("/mk-fuzz-%1").arg(::getpid());
    QDir().mkpath(d);
    return d;
  }();
  return dir;
}

// Removes the scratch folder when the fuzzing process ends normally.
struct ScratchCleanup {
  ~ScratchCleanup() { QDir(ScratchDir()).removeRecursively(); }
};

bool UseRealFiles(const std::uint8_t* data, std::size_t size) {
  std::uint32_t h = 2166136261u;  // FNV-1a
  for (std::size_t i = 0; i < size; ++i) h = (h ^ data[i]) * 16777619u;
  return (h & 31u) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string failure;
  if (UseRealFiles(data, size)) {
    static ScratchCleanup cleanup;
    static const QString input = ScratchDir() + QStringLiteral("/input.vor");
    static const QString saved = ScratchDir() + QStringLiteral("/saved.vor");
    {
      QFile f(input);
      if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
      if (f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) != static_cast<qint64>(size)) {
        std::abort();
      }
    }
    failure = mk::fuzzcheck::CheckProjectFile(input, saved);
  } else {
    failure = mk::fuzzcheck::CheckProjectBytes(
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
  }
  if (!failure.empty()) {
    std::fprintf(stderr, "property broken: %s\n", failure.c_str());
    std::abort();
  }
  return 0;
}
