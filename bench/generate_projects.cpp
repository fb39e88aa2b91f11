// Writes COUNT projects into DIR, made from the example projects with their
// numbers varied (typed C, area and intensity, slopes, population and the
// land-use areas, each by a factor between 0.5 and 1.5), for timing the
// report command over many files.
//
//   mirukana_generate_projects EXAMPLES_DIR OUT_DIR COUNT
#include <QCoreApplication>
#include <QDir>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "model/number_text.h"
#include "model/project_record.h"
#include "project_file/vor_file.h"

namespace {

// The text scaled by `factor`, with as many decimals as it had (at least
// two); an empty or non-numeric text stays as it is.
void Scale(std::string& text, double factor) {
  const double value = mk::ParseLeadingNumber(text);
  if (value == 0.0) return;
  const std::size_t point = text.find('.');
  const std::size_t decimals = point == std::string::npos ? 0 : text.size() - point - 1;
  std::string pattern = "0.00";
  for (std::size_t i = 2; i < decimals; ++i) pattern += '0';
  text = mk::FormatNumber(value * factor, pattern);
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  if (argc != 4) {
    std::fprintf(stderr, "usage: mirukana_generate_projects EXAMPLES_DIR OUT_DIR COUNT\n");
    return 2;
  }
  const QDir examplesDir(QString::fromLocal8Bit(argv[1]));
  const QDir outDir(QString::fromLocal8Bit(argv[2]));
  const int count = std::atoi(argv[3]);
  std::vector<mk::ProjectRecord> examples;
  for (const QString& name : examplesDir.entryList({QStringLiteral("*.vor")}, QDir::Files, QDir::Name)) {
    mk::ProjectRecord r;
    if (mk::ReadProjectFile(examplesDir.filePath(name), r)) return 1;
    examples.push_back(r);
  }
  if (examples.empty() || count <= 0 || !QDir().mkpath(outDir.path())) return 1;

  for (int i = 0; i < count; ++i) {
    mk::ProjectRecord r = examples[static_cast<std::size_t>(i) % examples.size()];
    // Deterministic factors in [0.5, 1.5), different for each field.
    const auto factor = [i](int field) { return 0.5 + static_cast<double>((i * 7919 + field * 104729) % 1000) / 1000.0; };
    if (r.main.opt5) Scale(r.main.txt_c, factor(1));
    if (r.main.opt5) Scale(r.main.txt_a, factor(2));
    if (r.main.opt3) Scale(r.main.txt_i, factor(3));
    Scale(r.facility.form2.txt1, factor(4));
    Scale(r.facility.form5.txt2, factor(5));
    Scale(r.facility.form1.txt3, factor(6));
    Scale(r.sewage.txt_p, factor(7));
    for (std::size_t k = 0; k < r.runoff.txt_a.size(); ++k) Scale(r.runoff.txt_a[k], factor(10 + static_cast<int>(k)));
    const QString path = outDir.filePath(QStringLiteral("project_%1.vor").arg(i, 5, 10, QLatin1Char('0')));
    if (const auto error = mk::WriteProjectFile(path, r)) {
      std::fprintf(stderr, "%s\n", error->toLocal8Bit().constData());
      return 1;
    }
  }
  return 0;
}
