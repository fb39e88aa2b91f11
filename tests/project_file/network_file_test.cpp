// The network flow table's file and CSV: lossless round trips, refusals of
// what cannot be read (a later version above all), CP932 limits.

#include <gtest/gtest.h>

#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>

#include "project_file/cp932.h"
#include "project_file/network_file.h"

namespace mk {
namespace {

NetworkRecord Sample() {
  NetworkRecord r;
  r.settings.title = "○○団地 雨水\t排水=計画\\案";
  r.settings.formula = IntensityFormula::Five;
  r.settings = {r.settings.title, IntensityFormula::Five, "1000", "5", "1", "0.75", " 7 ",
                VelocityFormula::Kutter, false, "20", true, "25", "放流先"};
  NetworkSegment a = NewNetworkSegment();
  a = {"A-1, \"本線\"", "1", "2", "120.5", "1.25", "0.6", "0", NetworkFacilityKind::Hume, 8,
       "", "", "", "", "12", "0.013", 0};
  NetworkSegment b = a;
  b.name = "改行\nあり";
  b.kind = NetworkFacilityKind::OtherCircular;
  b.sizeIndex = 0;  // the size is kept for catalogue pipes only
  b.facilityName = "ﾋｭｰﾑ管（特注）";
  b.D = "0.45";
  b.depthIndex = 12;
  NetworkSegment c = a;
  c.name = "C";
  c.kind = NetworkFacilityKind::Rectangular;
  c.sizeIndex = 0;
  c.B = "1.2";
  c.H = "0.8";
  c.depthIndex = -1;  // not chosen yet
  NetworkSegment d = NewNetworkSegment();  // empty texts, VP
  r.segments = {a, b, c, d};
  return r;
}

QByteArray FileBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(NetworkFile, WritesAndReadsBackTheSameRecord) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("団地.mkt"));
  const NetworkRecord record = Sample();
  ASSERT_FALSE(WriteNetworkFile(path, record));
  const QByteArray bytes = FileBytes(path);
  EXPECT_TRUE(bytes.startsWith("mirukana-network 1\ntitle="));
  EXPECT_TRUE(bytes.contains("\nkind\tsize\t") == false);  // keys, one column line
  EXPECT_TRUE(bytes.contains("A-1, \"本線\"\t1\t2\t120.5\t1.25\t0.6\t0\tヒューム管\tﾋｭｰﾑ管 φ600\t"));
  const NetworkFileRead read = ReadNetworkFile(path);
  ASSERT_TRUE(read.ok()) << read.error.toStdString();
  EXPECT_EQ(read.record, record);

  // CR LF line ends, a byte-order mark and comment lines read the same.
  QByteArray edited = "\xEF\xBB\xBF" + bytes;
  edited.replace("\n", "\r\n");
  edited.replace("title=", "# a comment\r\n\r\ntitle=");
  const NetworkFileRead again = ParseNetworkFile(edited);
  ASSERT_TRUE(again.ok()) << again.error.toStdString();
  EXPECT_EQ(again.record, record);
}

// Levels make a version-2 file; the same table without them stays version 1.
TEST(NetworkFile, LevelsAreVersionTwoAndReadBack) {
  NetworkRecord record = Sample();
  EXPECT_TRUE(NetworkFileBytes(record).startsWith("mirukana-network 1\n"));
  record.settings.criteria.joint = JointMethod::WaterSurface;
  record.settings.criteria.minimumCover = "1.2";
  record.nodes = {{"1", "12.500", "", ""}, {"2", "12.1\t", "10.000", "0.02"}};
  record.segments[0].invert = "10.5";
  record.segments[1].wall = "0.04";
  const QByteArray bytes = NetworkFileBytes(record);
  EXPECT_TRUE(bytes.startsWith("mirukana-network 2\n"));
  EXPECT_TRUE(bytes.contains("\njoint=水面接合\n"));
  EXPECT_TRUE(bytes.contains("\n[nodes]\nnode\tground\tfixed_invert\tnode_drop\n1\t12.500\t\t\n2\t12.1\\t\t10.000\t0.02\n"));
  const NetworkFileRead read = ParseNetworkFile(bytes);
  ASSERT_TRUE(read.ok()) << read.error.toStdString();
  EXPECT_EQ(read.record, record);

  const std::pair<QByteArray, const char*> cases[] = {
      {QByteArray(bytes).replace("joint=水面接合", "joint=水面"), "接合方法「水面」は読めません。"},
      {QByteArray(bytes).replace("\t10.000\t0.02\n", "\t10.000\n"), "列の数が 4 ではなく 3 です。"},
      {QByteArray(bytes).replace("\tnode_drop\n", "\n"), "人孔の列の並びが違います。"},
      {QByteArray(bytes).replace("\tinvert\twall\n", "\n"), "区間の列の並びが違います。"},
  };
  for (const auto& [text, message] : cases) {
    const NetworkFileRead bad = ParseNetworkFile(text);
    EXPECT_TRUE(bad.error.contains(QString::fromUtf8(message))) << bad.error.toStdString();
  }
}

TEST(NetworkFile, RefusesWhatItCannotReadFaithfully) {
  const QByteArray good = NetworkFileBytes(Sample());
  struct Case {
    QByteArray bytes;
    const char* message;
  };
  auto replaced = [&](const char* from, const char* to) { return QByteArray(good).replace(from, to); };
  const Case cases[] = {
      {replaced("mirukana-network 1", "mirukana-network 3"),
       "この流量計算表は新しい版のミルカナで保存されています（形式 3、この版は形式 2 まで）。"},
      // The criteria are version 2's; a version-1 file cannot hold them.
      {replaced("outlet=", "joint=管底接合\noutlet="), "14行目: 「joint」は知らない設定です。"},
      {replaced("mirukana-network 1", "mirukana-network 99999999999999999999"), "この流量計算表は新しい版"},
      {replaced("mirukana-network 1", "mirukana-network 0"), "流量計算表のファイルではありません。"},
      {replaced("mirukana-network 1", "mirukana-network"), "流量計算表のファイルではありません。"},
      {QByteArray(".vor\r\n"), "流量計算表のファイルではありません。"},
      {replaced("velocity=Kutter", "velocity=kutter"), "9行目: 流速の計算方法「kutter」は読めません。"},
      {replaced("outlet=", "colour=red\noutlet="), "14行目: 「colour」は知らない設定です。"},
      {replaced("a=1000\n", "a=1000\na=2\n"), "5行目: 「a」が二度あります。"},
      {replaced("\\\\", "\\q"), "2行目: 「\\」の後に使えない文字があります。"},
      {replaced("\tdepth\n", "\tdepth\textra\n"), "16行目: 区間の列の並びが違います。"},
      {replaced("\t12\t0.013\t満流", "\t12\t0.013"), "17行目: 列の数が 16 ではなく 15 です。"},
      {replaced("\t満流\n", "\t水深９９割\n"), "17行目: 水深「水深９９割」はヒューム管の水深の一覧にありません。"},
      {replaced("ﾋｭｰﾑ管 φ600", "VP - φ65"), "17行目: 管径「VP - φ65」はヒューム管の管径ではありません。"},
      {replaced("[segments]", "[rows]"), "15行目: 「キー=値」の形ではありません。"},
      {QByteArray("mirukana-network 1\n\xff\n"), "流量計算表のファイルではありません。（UTF-8"},
  };
  for (const Case& c : cases) {
    const NetworkFileRead read = ParseNetworkFile(c.bytes);
    EXPECT_FALSE(read.ok()) << c.message << " " << c.bytes.toStdString();
    EXPECT_TRUE(read.error.startsWith(QString::fromUtf8(c.message))) << read.error.toStdString();
  }
}

TEST(NetworkFile, CsvRoundTripsTheSegmentsInCp932) {
  const std::vector<NetworkSegment> segments = Sample().segments;
  const NetworkCsvExport csv = ExportNetworkCsv(segments);
  ASSERT_TRUE(csv.ok()) << csv.error.toStdString();
  const std::string text = DecodeCp932(csv.bytes);
  EXPECT_EQ(text.substr(0, text.find("\r\n")),
            "路線番号,上流,下流,延長 L(m),面積 区間(ha),流出係数 C,汚水量 区間(m3/sec),管種,管径,"
            "施設名,直径 D(m),巾 B(m),高さ H(m),勾配 (‰),粗度係数 n,水深,上流管底高 (m),管厚 t(m)");
  EXPECT_NE(text.find("\r\n\"A-1, \"\"本線\"\"\",1,2,120.5,"), std::string::npos);
  EXPECT_NE(text.find("\r\n\"改行\nあり\",1,"), std::string::npos);
  EXPECT_EQ(ImportNetworkCsv(csv.bytes).segments, segments);

  // As a spreadsheet may save it: LF, cells added on the right, a short row,
  // an empty row; or as UTF-8 with a byte-order mark.
  QByteArray sheet = csv.bytes;
  sheet.replace("\r\n", "\n");
  sheet.replace(EncodeCp932("0.013,満流,,\n").value(), EncodeCp932("0.013,満流,,,,\n").value());
  sheet += ",,,\n";
  const NetworkCsvImport imported = ImportNetworkCsv(sheet);
  ASSERT_TRUE(imported.ok()) << imported.error.toStdString();
  EXPECT_EQ(imported.segments, segments);
  EXPECT_EQ(ImportNetworkCsv("\xEF\xBB\xBF" + QString::fromStdString(text).toUtf8()).segments, segments);
  // A CSV written before the level columns reads with none.
  QByteArray old = csv.bytes;
  old.replace(EncodeCp932(",上流管底高 (m),管厚 t(m)\r\n").value(), "\r\n");
  old.replace(",,\r\n", "\r\n");
  EXPECT_EQ(ImportNetworkCsv(old).segments, segments);

  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("t.csv"));
  ASSERT_FALSE(WriteNetworkCsv(path, segments));
  EXPECT_EQ(ReadNetworkCsv(path).segments, segments);

  // The wave dash an input method types is stored as CP932's own, as in .vor.
  std::vector<NetworkSegment> wave{segments[0]};
  wave[0].name = "1〜2";
  EXPECT_EQ(ImportNetworkCsv(ExportNetworkCsv(wave).bytes).segments.at(0).name, "1～2");
}

TEST(NetworkFile, CsvRefusals) {
  std::vector<NetworkSegment> segments = Sample().segments;
  segments[2].facilityName = "管🙂";
  const NetworkCsvExport csv = ExportNetworkCsv(segments);
  EXPECT_TRUE(csv.error.startsWith(QStringLiteral("「🙂」はCSVに書き出せない文字です（3行目の施設名「管🙂」）。")))
      << csv.error.toStdString();
  // A byte-order mark inside a value, even at a value's start, is refused too.
  segments[2].facilityName = "\xEF\xBB\xBF";
  EXPECT_TRUE(ExportNetworkCsv(segments).error.contains(QStringLiteral("3行目の施設名")));

  const QByteArray header = ExportNetworkCsv({}).bytes;
  const std::pair<QByteArray, const char*> cases[] = {
      {"a,b\r\n", "1行目が流量計算表のCSVの見出し"},
      {header + "\"A,1,2\r\n", "2行目: 「\"」で囲んだ値の終わりが正しくありません。"},
      {header + "A,1,2,3,4,5,6,VP\r\n", "2行目: 管種「VP」は選べる管種ではありません。"},
      {header + "A" + QByteArray(18, ',') + "x\r\n", "2行目: 列の数が 18 を超えています。"},
  };
  for (const auto& [bytes, message] : cases) {
    const NetworkCsvImport read = ImportNetworkCsv(bytes);
    EXPECT_TRUE(read.error.startsWith(QString::fromUtf8(message))) << read.error.toStdString();
  }
}

// The Qt-free layout that the browser uses: the same refusals with its own
// encoder, and the same judgement of UTF-8 as the desktop's decoder.
TEST(NetworkLines, QtFreeLayoutRefusesAsTheDesktopDoes) {
  const NetworkRecord record = Sample();
  EXPECT_EQ(ParseNetworkFileText(NetworkFileText(record)).record, record);
  const NetworkCsvTable input = NetworkInputCsvTable(record.segments);
  EXPECT_EQ(ParseNetworkCsvText(NetworkCsvText(input)).segments, record.segments);

  std::vector<NetworkSegment> segments = record.segments;
  segments[1].name = "B🙂";
  const CsvEncoder noEmoji = [](std::string_view utf8, std::string* bad) -> std::optional<std::string> {
    if (utf8.find("🙂") == std::string_view::npos) return std::string(utf8);
    *bad = "🙂";
    return std::nullopt;
  };
  EXPECT_EQ(EncodeNetworkCsv(NetworkInputCsvTable(segments), noEmoji).error,
            ExportNetworkCsv(segments).error.toStdString());

  for (const char* bytes : {"\xC0\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xEF\xBF\xBE", "\xE3\x81", "\x80",
                            "\xF0\x9F\x99\x82", "\xE3\x81\x82\xFF"}) {
    const QByteArray file = QByteArray("mirukana-network 1\ntitle=") + bytes + "\n[segments]\n";
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString decoded = decoder.decode(file);
    EXPECT_EQ(ParseNetworkFileText(file.toStdString()).error.find("UTF-8") != std::string::npos, decoder.hasError())
        << QByteArray(bytes).toHex().toStdString();
  }
}

}  // namespace
}  // namespace mk
