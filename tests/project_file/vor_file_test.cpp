#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "model/project_record.h"
#include "project_file/vor_file.h"

namespace mk {
namespace {

const QString kExamples = QStringLiteral(MK_EXAMPLES_DIR);

QByteArray ReadBytes(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes);
}

ProjectRecord ClosedRecord() {
  ProjectRecord r;
  CloseProjectGroups(r);
  return r;
}

ProjectRecord NewRecord() {
  ProjectRecord r;
  NewProject(r);
  return r;
}

ProjectRecord ReadLines(const std::vector<std::string>& lines) {
  ProjectRecord r = ClosedRecord();
  ReadProjectLines(lines, r);
  return r;
}

std::vector<std::string> ExampleNames() {
  std::vector<std::string> names;
  for (const QString& f : QDir(kExamples).entryList({"*.vor"}, QDir::Files, QDir::Name))
    names.push_back(f.chopped(4).toStdString());
  return names;
}

// Compares the record's fields with the readable inputs of an example,
// field by field under the screens' control names.
class JsonInputs {
 public:
  JsonInputs(const QJsonObject& inputs, std::string example) : in_(inputs), example_(std::move(example)) {}

  bool Has(const char* form) const { return in_.contains(form); }

  void Texts(const char* form, std::initializer_list<std::pair<std::string, const std::string*>> fields) const {
    for (const auto& [name, actual] : fields)
      EXPECT_EQ(*actual, in_[form][name.c_str()].toString().toStdString()) << Where(form, name);
  }
  void Options(const char* form, std::initializer_list<std::pair<std::string, bool>> fields) const {
    for (const auto& [name, actual] : fields) EXPECT_EQ(actual, in_[form][name.c_str()].toBool()) << Where(form, name);
  }
  void Integers(const char* form, std::initializer_list<std::pair<std::string, int>> fields) const {
    for (const auto& [name, actual] : fields)
      EXPECT_EQ(actual, in_[form][name.c_str()].toInt(-99)) << Where(form, name);
  }
  // txt1, txt2, ... (or opt1, Option1, ...) in order.
  void Numbered(const char* form, const std::string& prefix, std::initializer_list<const std::string*> texts) const {
    int i = 0;
    for (const std::string* text : texts) Texts(form, {{prefix + std::to_string(++i), text}});
  }
  void Numbered(const char* form, const std::string& prefix, std::initializer_list<bool> options) const {
    int i = 0;
    for (bool option : options) Options(form, {{prefix + std::to_string(++i), option}});
  }

 private:
  std::string Where(const char* form, const std::string& name) const { return example_ + " " + form + " " + name; }
  QJsonObject in_;
  std::string example_;
};

void ExpectRecordMatches(const ProjectRecord& r, const JsonInputs& j) {
  const auto& m = r.main;
  j.Texts("Form25", {{"txt_c", &m.txt_c}, {"txt_a", &m.txt_a}, {"txt_i", &m.txt_i}});
  j.Integers("Form25", {{"lst_s", m.lst_s}});
  j.Numbered("Form25", "opt", {m.opt1, m.opt2, m.opt3, m.opt4, m.opt5, m.opt6, m.opt7, m.opt8, m.opt9,
                               m.opt10, m.opt11, m.opt12});
  j.Numbered("Form25", "txt", {&m.txt1, &m.txt2, &m.txt3});
  if (j.Has("Form2")) {
    const auto& f = r.facility.form2;
    j.Integers("Form2", {{"lst_pu", f.lst_pu}, {"cbo1", f.cbo1}});
    j.Numbered("Form2", "txt", {&f.txt1, &f.txt2});
  }
  if (j.Has("Form5")) {
    const auto& f = r.facility.form5;
    j.Texts("Form5", {{"txt_m", &f.txt_m}});
    j.Numbered("Form5", "txt", {&f.txt1, &f.txt2, &f.txt3});
    j.Integers("Form5", {{"cbo1", f.cbo1}});
  }
  if (j.Has("Form1")) {
    const auto& f = r.facility.form1;
    j.Texts("Form1", {{"txt_m", &f.txt_m}});
    j.Numbered("Form1", "txt", {&f.txt1, &f.txt2, &f.txt3, &f.txt4});
    j.Integers("Form1", {{"cbo1", f.cbo1}});
  }
  j.Texts("Form26", {{"lbl3", &r.results.lbl3}, {"lbl6", &r.results.lbl6}, {"lbl9", &r.results.lbl9}});

  if (j.Has("Form12")) {
    const auto& in = r.intensity;
    j.Numbered("Form12", "opt", {in.opt1, in.opt2, in.opt3, in.opt4, in.opt5, in.opt6});
    j.Numbered("Form12", "txt", {&in.txt1, &in.txt2, &in.txt3, &in.txt4, &in.txt5, &in.txt6, &in.txt7, &in.txt8,
                                 &in.txt9});
    j.Numbered("Form12", "Option", {in.Option1, in.Option2, in.Option3, in.Option4, in.Option5, in.Option6,
                                    in.Option7, in.Option8});
    j.Integers("Form12", {{"chk1", in.chk1}});
    j.Texts("Form12", {{"lbl1", &in.lbl1}});
    j.Options("Form22", {{"opt1", r.river.opt1}, {"opt2", r.river.opt2}});
    j.Numbered("Form22", "txt", {&r.river.txt1, &r.river.txt2});
    j.Numbered("Form13", "txt", {&r.inflow.txt1, &r.inflow.txt2, &r.inflow.txt3});
  }
  if (j.Has("Form16")) {
    const char* checkNames[] = {"chk_k1", "chk_k2", "chk_k3", "chk_k4", "chk_k5", "chk_k6", "chk_k7",
                                "chk_k8", "chk_t1", "chk_t2", "chk_t3", "chk_t4", "chk_t5", "chk_t6",
                                "chk_t7", "chk_u1", "chk_u2", "chk_u3", "chk_u4"};
    for (int i = 0; i < 19; ++i) j.Integers("Form16", {{checkNames[i], r.runoff.checks[i]}});
    for (int i = 0; i < 6; ++i) {
      const std::string n = std::to_string(i + 1);
      j.Texts("Form16", {{"txt_t" + n, &r.runoff.txt_t[i]}, {"txt_c" + n, &r.runoff.txt_c[i]},
                         {"txt_a" + n, &r.runoff.txt_a[i]}});
    }
  }
  if (j.Has("Form17")) {
    const auto& ft = r.flowTime;
    j.Options("Form17", {{"opt1", ft.opt1}, {"opt2", ft.opt2}});
    j.Integers("Form17", {{"lst_s", ft.lst_s}});
    if (j.Has("Form18")) {
      j.Integers("Form18", {{"lst_pu", ft.form18.lst_pu}, {"cbo1", ft.form18.cbo1}});
      j.Numbered("Form18", "txt", {&ft.form18.txt1, &ft.form18.txt2});
    }
    if (j.Has("Form19")) {
      const auto& d = ft.form19;
      j.Texts("Form19", {{"txt_m", &d.txt_m}});
      j.Numbered("Form19", "txt", {&d.txt1, &d.txt2, &d.txt3, &d.txt4, &d.txt5, &d.txt6});
      j.Integers("Form19", {{"cbo1", d.cbo1}});
    }
    if (j.Has("Form20")) {
      const auto& c = ft.form20;
      j.Texts("Form20", {{"txt_m", &c.txt_m}});
      j.Numbered("Form20", "txt", {&c.txt1, &c.txt2, &c.txt3});
      j.Integers("Form20", {{"cbo1", c.cbo1}});
    }
    if (j.Has("Form21")) {
      const auto& c = ft.form21;
      j.Texts("Form21", {{"txt_m", &c.txt_m}});
      j.Numbered("Form21", "txt", {&c.txt1, &c.txt2, &c.txt3, &c.txt4, &c.txt5});
      for (int i = 0; i < 8; ++i)
        j.Texts("Form21", {{"txt_x" + std::to_string(i + 1), &c.txt_x[i]},
                           {"txt_y" + std::to_string(i + 1), &c.txt_y[i]}});
    }
  }
  if (j.Has("Form28")) {
    const auto& w = r.sewage;
    j.Numbered("Form28", "opt", {w.opt1, w.opt2, w.opt3});
    j.Texts("Form28", {{"txt_p", &w.txt_p}, {"txt_q1", &w.txt_q1}, {"txt_a", &w.txt_a}, {"txt_q2", &w.txt_q2}});
  }
}

// ------------------------------------------------------------ the examples

TEST(ProjectFileExamples, ReadEveryFieldAndWriteTheSameBytesBack) {
  const auto names = ExampleNames();
  ASSERT_EQ(names.size(), 12u);
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    const QString vor = kExamples + "/" + QString::fromStdString(name) + ".vor";
    ProjectRecord r = ClosedRecord();
    ASSERT_FALSE(ReadProjectFile(vor, r).has_value());

    const QJsonObject json =
        QJsonDocument::fromJson(ReadBytes(kExamples + "/" + QString::fromStdString(name) + ".json")).object();
    const QJsonObject inputs = json["inputs"].toObject();
    ExpectRecordMatches(r, JsonInputs(inputs, name));
    if (inputs.contains("InflowTimeCopies")) {
      const QJsonArray copies = inputs["InflowTimeCopies"].toArray();
      EXPECT_EQ(r.inflowCopies.slopeLength, copies[0].toString().toStdString());
      EXPECT_EQ(r.inflowCopies.slope, copies[1].toString().toStdString());
      EXPECT_EQ(r.inflowCopies.retardance, copies[2].toString().toStdString());
    }
    if (inputs.contains("FlowTimeScreenCode")) {
      EXPECT_EQ(r.flowTime.FlowTimeScreenCode, inputs["FlowTimeScreenCode"].toString().toStdString());
    }

    const QString copy = dir.filePath(QString::fromStdString(name) + ".vor");
    ASSERT_FALSE(WriteProjectFile(copy, r).has_value());
    EXPECT_EQ(ReadBytes(copy), ReadBytes(vor));
  }
}

// ------------------------------------------------------------ the layout

TEST(ProjectFileLayout, NewProjectWithEverythingTypedIsTwentySixLines) {
  ProjectRecord r = NewRecord();
  r.main.opt7 = false;  // sewage typed
  r.main.opt8 = true;
  r.main.txt_c = "0.5";
  r.main.txt3 = "0.0123";
  const std::vector<std::string> expected = {
      "0.5", "", "", " 0 ", "True", "False", "True", "False", "True", "False", "False", "True",
      "True", "False", "True", "False", "", "", "0.0123",
      " 0 ", "", "0.010", " 5 ",  // VP φ65, slope empty, n 0.010, 水深８割
      "", "", ""};
  EXPECT_EQ(ProjectFileLines(r), expected);
}

TEST(ProjectFileLayout, RectangularPipeIsFollowedBySixLinesEndingInItsDepthIndex) {
  ProjectRecord r = NewRecord();
  r.main.lst_s = 5;
  r.main.opt7 = false;
  r.main.opt8 = true;
  r.facility.form1 = {"ボックス", "1.0", "2.0", "5", "0.015", 6};
  r.results = {"1.2345", "2.3456", "3.4567"};
  const auto lines = ProjectFileLines(r);
  ASSERT_EQ(lines.size(), 19u + 6u + 3u);
  EXPECT_EQ(lines[3], " 5 ");
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 19, lines.begin() + 25),
            (std::vector<std::string>{"ボックス", "1.0", "2.0", "5", "0.015", " 6 "}));
  EXPECT_EQ(lines[25], "1.2345");

  const ProjectRecord back = ReadLines(lines);
  EXPECT_EQ(back.facility.form1.txt_m, "ボックス");
  EXPECT_EQ(back.facility.form1.cbo1, 6);
  EXPECT_EQ(back.results.lbl9, "3.4567");
  EXPECT_EQ(ProjectFileLines(back), lines);
}

TEST(ProjectFileLayout, NoFacilityKindWritesNoFacilityLines) {
  ProjectRecord r = NewRecord();
  r.main.lst_s = -1;
  r.main.opt7 = false;
  r.main.opt8 = true;
  const auto lines = ProjectFileLines(r);
  ASSERT_EQ(lines.size(), 22u);
  EXPECT_EQ(lines[3], "-1 ");
  EXPECT_EQ(ReadLines(lines).main.lst_s, -1);
}

TEST(ProjectFileLayout, ValuesRoundTripExactly) {
  ProjectRecord r = NewRecord();
  r.main.txt_c = "   ";              // only blanks
  r.main.txt_a = " 500 m2 ";
  r.facility.form2.cbo1 = -1;        // no depth chosen
  r.main.opt3 = false;
  r.main.opt4 = true;                // intensity block
  r.intensity.Option8 = false;
  r.intensity.lbl1 = "茨城県宅地開発関係資料集による(茨城県土木部都市局建築指導課)";
  r.sewage.txt_p = "１２００";
  const auto lines = ProjectFileLines(r);
  EXPECT_EQ(lines[22], "-1 ");
  // The inflow-time copies were never set: three empty lines.
  EXPECT_EQ(lines[26 + 6 + 9 + 8 + 2 + 4], "");
  EXPECT_EQ(lines[26 + 6 + 9 + 8 + 2 + 4 + 2], "");

  QTemporaryDir dir;
  const QString path = dir.filePath("p.vor");
  ASSERT_FALSE(WriteProjectFile(path, r).has_value());
  ProjectRecord back = ClosedRecord();
  ASSERT_FALSE(ReadProjectFile(path, back).has_value());
  EXPECT_EQ(back.main.txt_c, "   ");
  EXPECT_EQ(back.main.txt_a, " 500 m2 ");
  EXPECT_EQ(back.facility.form2.cbo1, -1);
  EXPECT_EQ(back.intensity.lbl1, r.intensity.lbl1);
  EXPECT_EQ(back.inflowCopies.slopeLength, "");
  EXPECT_EQ(back.inflowCopies.retardance, "");
  EXPECT_EQ(back.sewage.txt_p, "１２００");
  EXPECT_EQ(ProjectFileLines(back), lines);
}

TEST(ProjectFileLayout, FlowTimeBlockNeedsTheIntensityBlock) {
  // Intensity switched back to direct entry while its velocity was still
  // calculated: neither the intensity nor the flow-time lines are written,
  // and the sewage lines that follow are read as sewage.
  ProjectRecord r = NewRecord();
  r.intensity.Option7 = false;
  r.intensity.Option8 = true;
  r.flowTime.FlowTimeScreenCode = " 4 ";
  r.flowTime.lst_s = 7;
  r.sewage = {false, true, false, "", "", "12000", ".0032"};
  const auto lines = ProjectFileLines(r);
  ASSERT_EQ(lines.size(), 26u + 7u);
  EXPECT_EQ(lines[26], "False");
  EXPECT_EQ(lines[27], "True");

  ProjectRecord back = ReadLines(lines);
  EXPECT_FALSE(back.sewage.opt1);
  EXPECT_TRUE(back.sewage.opt2);
  EXPECT_EQ(back.sewage.txt_a, "12000");
  EXPECT_EQ(back.sewage.txt_q2, ".0032");
}

TEST(ProjectFileLayout, EveryFlowTimeFacilityHasItsOwnLines) {
  struct Case {
    int kind;
    std::size_t lines;
  };
  for (const Case c : {Case{0, 4}, Case{3, 4}, Case{4, 5}, Case{5, 4}, Case{6, 8}, Case{7, 22}, Case{-1, 0}}) {
    SCOPED_TRACE(c.kind);
    ProjectRecord r = NewRecord();
    r.main.opt3 = false;
    r.main.opt4 = true;
    r.main.opt7 = false;
    r.main.opt8 = true;
    r.intensity.Option7 = false;
    r.intensity.Option8 = true;
    r.flowTime.FlowTimeScreenCode = " 1 ";
    r.flowTime.lst_s = c.kind;
    r.flowTime.form18.txt1 = "18";
    r.flowTime.form19.txt6 = "19";
    r.flowTime.form20.txt3 = "20";
    r.flowTime.form21.txt_y[7] = "21";
    const auto lines = ProjectFileLines(r);
    ASSERT_EQ(lines.size(), 26u + 35u + 4u + c.lines);
    const ProjectRecord back = ReadLines(lines);
    EXPECT_EQ(ProjectFileLines(back), lines);
  }
}

// ------------------------------------------------------------ tolerant reading

std::vector<std::string> ExampleLines(const char* name) {
  ProjectRecord r = ClosedRecord();
  ReadProjectFile(kExamples + "/" + name + ".vor", r);
  return ProjectFileLines(r);
}

TEST(ProjectFileReading, ValuesThatDoNotConvertLeaveTheFieldAsItWas) {
  std::vector<std::string> lines = ExampleLines("example_02");
  ASSERT_EQ(lines[4], "False");  // opt1
  ASSERT_EQ(lines[5], "True");   // opt2
  lines[4] = "true";
  lines[5] = "Yes";
  lines[7] = "  True\t";        // opt4: blanks around an option are ignored
  lines[19] = "x";               // Form2 lst_pu
  lines[22] = " 15 ";            // Form2 cbo1: the list has 15 entries
  const ProjectRecord r = ReadLines(lines);
  EXPECT_TRUE(r.main.opt1);      // the closed project's values
  EXPECT_FALSE(r.main.opt2);
  EXPECT_TRUE(r.main.opt4);
  EXPECT_EQ(r.intensity.txt1, "6699");  // so the intensity block was read
  EXPECT_EQ(r.facility.form2.lst_pu, 0);  // the VU screen's defaults
  EXPECT_EQ(r.facility.form2.cbo1, 5);
  EXPECT_EQ(r.facility.form2.txt1, "8");
}

TEST(ProjectFileReading, ChecksOtherThanZeroOrOneAndIntegersWithTrailingTextLeaveTheField) {
  // example_02 holds the intensity block (chk1 after 26 + 23 lines) and the
  // land-use block (its first check follows the 35 lines of that block).
  std::vector<std::string> lines = ExampleLines("example_02");
  ASSERT_EQ(lines[19], " 10 ");  // Form2 lst_pu
  ASSERT_EQ(lines[49], " 0 ");  // Form12 chk1
  ASSERT_EQ(lines[61], " 0 ");  // Form16 chk_k1
  lines[19] = " 10 x";
  lines[49] = " 2 ";
  lines[61] = "1mm";
  ProjectRecord r = ReadLines(lines);
  EXPECT_EQ(r.facility.form2.lst_pu, 0);  // the VU screen's default
  EXPECT_EQ(r.intensity.chk1, ClosedRecord().intensity.chk1);
  EXPECT_EQ(r.runoff.checks[0], ClosedRecord().runoff.checks[0]);
  EXPECT_EQ(r.runoff.checks[1], 0);  // the following lines are read in their places
  EXPECT_EQ(r.runoff.txt_c[0], "0.73");

  lines[49] = "  1\t";  // blanks around an integer are ignored
  lines[61] = "-1 ";
  r = ReadLines(lines);
  EXPECT_EQ(r.intensity.chk1, 1);
  EXPECT_EQ(r.runoff.checks[0], ClosedRecord().runoff.checks[0]);
}

TEST(ProjectFileReading, AnOptionReadAsTrueClearsTheRestOfItsGroup) {
  std::vector<std::string> lines = ExampleLines("example_01");
  lines[4] = "True";  // opt1 (already true)
  lines[5] = "True";  // opt2
  const ProjectRecord r = ReadLines(lines);
  EXPECT_FALSE(r.main.opt1);
  EXPECT_TRUE(r.main.opt2);
}

TEST(ProjectFileReading, ChoosingTheFacilityKindStartsItsScreenFromItsDefaults) {
  // A Hume pipe file that ends right after the facility kind.
  std::vector<std::string> lines = ExampleLines("example_01");
  lines.resize(4);
  ProjectRecord r = ClosedRecord();
  r.facility.form2.txt1 = "left over";
  ReadProjectLines(lines, r);
  EXPECT_EQ(r.main.lst_s, 3);
  EXPECT_EQ(r.facility.form2.txt2, "0.013");
  EXPECT_EQ(r.facility.form2.txt1, "");
  EXPECT_EQ(r.facility.form2.cbo1, 5);
  EXPECT_EQ(r.facility.form2.lst_pu, 0);
  // The remaining fields keep the closed project's values.
  EXPECT_TRUE(r.main.opt1);
  EXPECT_TRUE(r.main.opt7);
  EXPECT_EQ(r.results.lbl3, "");
}

TEST(ProjectFileReading, ChoosingTheFlowTimeKindStartsItsScreenFromItsDefaults) {
  std::vector<std::string> lines = ExampleLines("example_01");  // flow-time irregular channel
  const std::size_t kindLine = 26 + 35 + 3;
  ASSERT_EQ(lines[kindLine], " 7 ");
  lines[kindLine] = " 5 ";  // U-trough, and the file ends there
  lines.resize(kindLine + 1);
  ProjectRecord r = ClosedRecord();
  r.flowTime.form21.txt_x[0] = "9";
  ReadProjectLines(lines, r);
  EXPECT_EQ(r.flowTime.lst_s, 5);
  EXPECT_EQ(r.flowTime.form18.txt2, "0.013");
  EXPECT_EQ(r.flowTime.form18.cbo1, 5);
  EXPECT_EQ(r.flowTime.form21.txt_x[0], " 0");

  lines[kindLine] = " 1 ";  // VU pipe
  r = ClosedRecord();
  ReadProjectLines(lines, r);
  EXPECT_EQ(r.flowTime.form18.txt2, "0.010");
}

TEST(ProjectFileReading, LineEndsOtherThanCrLfReadTheSame) {
  const QByteArray crlf = ReadBytes(kExamples + "/example_08.vor");
  QByteArray lf = crlf;
  lf.replace("\r\n", "\n");
  QByteArray partial = crlf;
  partial.chop(2);  // the last line without its line end
  QByteArray cr = crlf;
  cr.replace("\r\n", "\r");

  QTemporaryDir dir;
  const auto expected = ExampleLines("example_08");
  for (const QByteArray& bytes : {lf, partial, cr}) {
    const QString path = dir.filePath("x.vor");
    WriteBytes(path, bytes);
    ProjectRecord r = ClosedRecord();
    ASSERT_FALSE(ReadProjectFile(path, r).has_value());
    EXPECT_EQ(ProjectFileLines(r), expected);
  }
}

TEST(ProjectFileReading, OversizedFilesAreReadOnlyAsFarAsTheLayoutGoes) {
  QTemporaryDir dir;
  const QString many = dir.filePath("many.vor");
  const QString longLine = dir.filePath("long.vor");
  {
    QByteArray bytes = ReadBytes(kExamples + "/example_11.vor");
    bytes += QByteArray("garbage\r\n").repeated(2'000'000);
    WriteBytes(many, bytes);
    WriteBytes(longLine, QByteArray(32 * 1024 * 1024, 'x'));
  }
  QElapsedTimer timer;
  timer.start();
  ProjectRecord r = ClosedRecord();
  ASSERT_FALSE(ReadProjectFile(many, r).has_value());
  EXPECT_EQ(ProjectFileLines(r), ExampleLines("example_11"));

  r = ClosedRecord();
  ASSERT_FALSE(ReadProjectFile(longLine, r).has_value());
  EXPECT_FALSE(r.main.txt_c.empty());
  EXPECT_LT(r.main.txt_c.size(), 32u * 1024 * 1024);
  EXPECT_TRUE(r.main.txt_a.empty());
  EXPECT_LT(timer.elapsed(), 10'000);
}

TEST(ProjectFileReading, AMissingFileIsAnErrorThatNamesIt) {
  ProjectRecord r = ClosedRecord();
  const auto error = ReadProjectFile("/nonexistent/まだない.vor", r);
  ASSERT_TRUE(error.has_value());
  EXPECT_TRUE(error->contains("まだない.vor"));
}

// ------------------------------------------------------------ saving

TEST(ProjectFileSaving, WritesCp932WithCrLfAfterEveryLine) {
  ProjectRecord r = NewRecord();
  r.main.opt7 = false;
  r.main.opt8 = true;
  r.main.lst_s = 4;
  r.facility.form5.txt_m = "ﾋｭｰﾑ管～";
  QTemporaryDir dir;
  const QString path = dir.filePath("p.vor");
  ASSERT_FALSE(WriteProjectFile(path, r).has_value());
  const QByteArray bytes = ReadBytes(path);
  EXPECT_TRUE(bytes.contains(QByteArray("\r\n\xcb\xad\xb0\xd1\x8a\xc7\x81\x60\r\n")));
  EXPECT_TRUE(bytes.endsWith("\r\n"));
  EXPECT_EQ(bytes.count("\r\n"), 19 + 5 + 3);
  EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n"));
}

TEST(ProjectFileSaving, AFailedSaveLeavesThePreviousFileAndSaysWhy) {
  QTemporaryDir dir;
  const QString path = dir.filePath("p.vor");
  ProjectRecord r = NewRecord();
  ASSERT_FALSE(WriteProjectFile(path, r).has_value());
  const QByteArray before = ReadBytes(path);

  r.facility.form2.txt1 = "5😀";
  auto error = WriteProjectFile(path, r);
  ASSERT_TRUE(error.has_value());
  EXPECT_TRUE(error->contains("😀"));
  EXPECT_EQ(ReadBytes(path), before);

  r.facility.form2.txt1 = "5\r\n6";  // would shift every later line
  error = WriteProjectFile(path, r);
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(ReadBytes(path), before);

  r.facility.form2.txt1 = "5";
  const QString impossible = path + "/under-a-file.vor";
  error = WriteProjectFile(impossible, r);
  ASSERT_TRUE(error.has_value());
  EXPECT_TRUE(error->contains("under-a-file.vor"));
  EXPECT_EQ(ReadBytes(path), before);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"p.vor"});
}

}  // namespace
}  // namespace mk
