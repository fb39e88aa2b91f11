// The profile's DXF read back by an independent reader (ezdxf, Debian's
// python3-ezdxf): no error and nothing to fix, R12, CP932, the node names as
// TEXT entities exactly where the stations and levels put them.  And a
// name CP932 cannot hold refused by name.

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "drawing/three_segment_path.h"
#include "project_file/cp932.h"
#include "project_file/profile_file.h"

namespace mk {
namespace {

using drawing::DrawProfile;
using drawing::SheetSize;
using drawing::SheetSizeMm;

drawing::ProfileDrawing ThreeSegmentSheets() {
  return DrawProfile(test::ThreeSegmentPath(), {SheetSizeMm(SheetSize::A3), 500, 100, "2026年12月8日"});
}

TEST(ProfileDxf, ReadBackByEzdxf) {
  const drawing::ProfileDrawing d = ThreeSegmentSheets();
  ASSERT_TRUE(d.ok());
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("縦断図.dxf"));
  ASSERT_FALSE(WriteProfileDxf(d.sheets, path).has_value());

  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  EXPECT_TRUE(bytes.contains("$ACADVER\r\n  1\r\nAC1009\r\n"));
  EXPECT_TRUE(bytes.contains("$DWGCODEPAGE\r\n  3\r\nANSI_932\r\n"));
  EXPECT_TRUE(bytes.contains(*EncodeCp932("マンホール")));
  EXPECT_TRUE(bytes.endsWith("  0\r\nEOF\r\n"));

  // Model space: x is the station, y five times the level (1/500 over
  // 1/100); a name stands 2 mm (1 m) above its ground level.
  QStringList args = {QStringLiteral(MK_TEST_SOURCE_DIR "/project_file/check_dxf.py"), path,
                      QStringLiteral("1@0,51"),      QStringLiteral("2@40,50"),
                      QStringLiteral("3@90,48.5"),   QStringLiteral("4@150,47.5"),
                      QStringLiteral("150.00@150,20.5"),  // 追加距離 at node 4, in the table
                      QStringLiteral("ﾋｭｰﾑ管 φ300@65,-6")};  // A-2's middle, 管種・管径 row
  QProcess python;
  python.start(QStringLiteral(MK_PYTHON3), args);
  ASSERT_TRUE(python.waitForFinished(120'000));
  const QString out = QString::fromUtf8(python.readAllStandardOutput() + python.readAllStandardError());
  EXPECT_EQ(python.exitCode(), 0) << out.toStdString();
  EXPECT_TRUE(out.contains(QStringLiteral("ok"))) << out.toStdString();
}

TEST(ProfileDxf, RefusesATextCp932CannotHold) {
  drawing::ProfilePath path = test::ThreeSegmentPath();
  path.nodes[2].name = "𠮷野3";
  const drawing::ProfileDrawing d = DrawProfile(path, {});
  ASSERT_TRUE(d.ok());
  QTemporaryDir dir;
  const QString target = dir.filePath(QStringLiteral("old.dxf"));
  {
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("before");
  }
  const auto error = WriteProfileDxf(d.sheets, target);
  ASSERT_TRUE(error.has_value());
  EXPECT_TRUE(error->contains(QStringLiteral("「𠮷」はDXFに書き出せない文字です"))) << error->toStdString();
  EXPECT_TRUE(error->contains(QStringLiteral("𠮷野3")));
  QFile old(target);
  ASSERT_TRUE(old.open(QIODevice::ReadOnly));
  EXPECT_EQ(old.readAll(), QByteArray("before"));  // nothing half-written
}

}  // namespace
}  // namespace mk
