#pragma once
// A small reader for the example projects' .json files (objects, arrays,
// strings, numbers, true/false/null), and a record built from their
// "inputs" exactly as the project file would fill it.

#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/project_record.h"

namespace mk::testing {

struct Json {
  enum class Kind { Null, Bool, Number, String, Array, Object } kind = Kind::Null;
  bool boolean = false;
  double number = 0.0;
  std::string text;
  std::vector<Json> items;
  std::vector<std::pair<std::string, Json>> members;

  bool has(const std::string& key) const {
    for (const auto& m : members)
      if (m.first == key) return true;
    return false;
  }
  const Json& operator[](const std::string& key) const {
    for (const auto& m : members)
      if (m.first == key) return m.second;
    throw std::runtime_error("missing key " + key);
  }
  bool isNull() const { return kind == Kind::Null; }
};

class JsonReader {
 public:
  explicit JsonReader(std::string text) : s_(std::move(text)) {}

  Json Parse() {
    Json value = Value();
    Blank();
    if (i_ != s_.size()) throw std::runtime_error("trailing text");
    return value;
  }

 private:
  void Blank() {
    while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\n' || s_[i_] == '\r' || s_[i_] == '\t')) ++i_;
  }
  void Expect(char c) {
    Blank();
    if (i_ >= s_.size() || s_[i_] != c) throw std::runtime_error(std::string("expected ") + c);
    ++i_;
  }
  bool Word(const char* w) {
    const std::string word = w;
    if (s_.compare(i_, word.size(), word) != 0) return false;
    i_ += word.size();
    return true;
  }
  std::string String() {
    Expect('"');
    std::string out;
    while (i_ < s_.size() && s_[i_] != '"') {
      char c = s_[i_++];
      if (c != '\\') {
        out += c;
        continue;
      }
      c = s_[i_++];
      switch (c) {
        case 'n': out += '\n'; break;
        case 't': out += '\t'; break;
        case 'r': out += '\r'; break;
        case 'u': {
          const unsigned code = std::stoul(s_.substr(i_, 4), nullptr, 16);
          i_ += 4;
          if (code < 0x80) {
            out += static_cast<char>(code);
          } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
          } else {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
          }
          break;
        }
        default: out += c; break;  // \" \\ \/
      }
    }
    Expect('"');
    return out;
  }
  Json Value() {
    Blank();
    Json v;
    if (i_ >= s_.size()) throw std::runtime_error("unexpected end");
    const char c = s_[i_];
    if (c == '{') {
      v.kind = Json::Kind::Object;
      ++i_;
      Blank();
      if (s_[i_] == '}') { ++i_; return v; }
      for (;;) {
        std::string key = String();
        Expect(':');
        v.members.emplace_back(std::move(key), Value());
        Blank();
        if (s_[i_] == ',') { ++i_; continue; }
        Expect('}');
        return v;
      }
    }
    if (c == '[') {
      v.kind = Json::Kind::Array;
      ++i_;
      Blank();
      if (s_[i_] == ']') { ++i_; return v; }
      for (;;) {
        v.items.push_back(Value());
        Blank();
        if (s_[i_] == ',') { ++i_; continue; }
        Expect(']');
        return v;
      }
    }
    if (c == '"') {
      v.kind = Json::Kind::String;
      v.text = String();
      return v;
    }
    if (Word("true")) { v.kind = Json::Kind::Bool; v.boolean = true; return v; }
    if (Word("false")) { v.kind = Json::Kind::Bool; return v; }
    if (Word("null")) return v;
    char* end = nullptr;
    v.kind = Json::Kind::Number;
    v.number = std::strtod(s_.c_str() + i_, &end);
    if (end == s_.c_str() + i_) throw std::runtime_error("bad value");
    i_ = static_cast<std::size_t>(end - s_.c_str());
    return v;
  }

  std::string s_;
  std::size_t i_ = 0;
};

inline Json ReadJsonFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + path);
  std::stringstream buffer;
  buffer << in.rdbuf();
  return JsonReader(buffer.str()).Parse();
}

// Fills the record's input fields from an example's "inputs" object, the way
// the project file's blocks would.
inline void ApplyExampleInputs(const Json& inputs, ProjectRecord& r) {
  std::map<std::string, std::string*> texts;
  std::map<std::string, bool*> options;
  std::map<std::string, int*> integers;

  auto& m = r.main;
  for (auto [name, field] : {std::pair{"txt_c", &m.txt_c}, {"txt_a", &m.txt_a}, {"txt_i", &m.txt_i},
                             {"txt1", &m.txt1}, {"txt2", &m.txt2}, {"txt3", &m.txt3}})
    texts[std::string("Form25.") + name] = field;
  bool* mainOptions[] = {&m.opt1, &m.opt2, &m.opt3, &m.opt4, &m.opt5,  &m.opt6,
                         &m.opt7, &m.opt8, &m.opt9, &m.opt10, &m.opt11, &m.opt12};
  for (int i = 0; i < 12; ++i) options["Form25.opt" + std::to_string(i + 1)] = mainOptions[i];
  integers["Form25.lst_s"] = &m.lst_s;

  auto& f2 = r.facility.form2;
  integers["Form2.lst_pu"] = &f2.lst_pu;
  integers["Form2.cbo1"] = &f2.cbo1;
  texts["Form2.txt1"] = &f2.txt1;
  texts["Form2.txt2"] = &f2.txt2;
  auto& f5 = r.facility.form5;
  texts["Form5.txt_m"] = &f5.txt_m;
  texts["Form5.txt1"] = &f5.txt1;
  texts["Form5.txt2"] = &f5.txt2;
  texts["Form5.txt3"] = &f5.txt3;
  integers["Form5.cbo1"] = &f5.cbo1;
  auto& f1 = r.facility.form1;
  texts["Form1.txt_m"] = &f1.txt_m;
  texts["Form1.txt1"] = &f1.txt1;
  texts["Form1.txt2"] = &f1.txt2;
  texts["Form1.txt3"] = &f1.txt3;
  texts["Form1.txt4"] = &f1.txt4;
  integers["Form1.cbo1"] = &f1.cbo1;

  texts["Form26.lbl3"] = &r.results.lbl3;
  texts["Form26.lbl6"] = &r.results.lbl6;
  texts["Form26.lbl9"] = &r.results.lbl9;

  auto& i12 = r.intensity;
  bool* formulaOptions[] = {&i12.opt1, &i12.opt2, &i12.opt3, &i12.opt4, &i12.opt5, &i12.opt6};
  for (int i = 0; i < 6; ++i) options["Form12.opt" + std::to_string(i + 1)] = formulaOptions[i];
  std::string* intensityTexts[] = {&i12.txt1, &i12.txt2, &i12.txt3, &i12.txt4, &i12.txt5,
                                   &i12.txt6, &i12.txt7, &i12.txt8, &i12.txt9};
  for (int i = 0; i < 9; ++i) texts["Form12.txt" + std::to_string(i + 1)] = intensityTexts[i];
  bool* timeOptions[] = {&i12.Option1, &i12.Option2, &i12.Option3, &i12.Option4,
                         &i12.Option5, &i12.Option6, &i12.Option7, &i12.Option8};
  for (int i = 0; i < 8; ++i) options["Form12.Option" + std::to_string(i + 1)] = timeOptions[i];
  integers["Form12.chk1"] = &i12.chk1;
  texts["Form12.lbl1"] = &i12.lbl1;

  options["Form22.opt1"] = &r.river.opt1;
  options["Form22.opt2"] = &r.river.opt2;
  texts["Form22.txt1"] = &r.river.txt1;
  texts["Form22.txt2"] = &r.river.txt2;
  texts["Form13.txt1"] = &r.inflow.txt1;
  texts["Form13.txt2"] = &r.inflow.txt2;
  texts["Form13.txt3"] = &r.inflow.txt3;

  auto& ft = r.flowTime;
  options["Form17.opt1"] = &ft.opt1;
  options["Form17.opt2"] = &ft.opt2;
  integers["Form17.lst_s"] = &ft.lst_s;
  integers["Form18.lst_pu"] = &ft.form18.lst_pu;
  texts["Form18.txt1"] = &ft.form18.txt1;
  texts["Form18.txt2"] = &ft.form18.txt2;
  integers["Form18.cbo1"] = &ft.form18.cbo1;
  auto& f19 = ft.form19;
  texts["Form19.txt_m"] = &f19.txt_m;
  std::string* ditch[] = {&f19.txt1, &f19.txt2, &f19.txt3, &f19.txt4, &f19.txt5, &f19.txt6};
  for (int i = 0; i < 6; ++i) texts["Form19.txt" + std::to_string(i + 1)] = ditch[i];
  integers["Form19.cbo1"] = &f19.cbo1;
  auto& f20 = ft.form20;
  texts["Form20.txt_m"] = &f20.txt_m;
  texts["Form20.txt1"] = &f20.txt1;
  texts["Form20.txt2"] = &f20.txt2;
  texts["Form20.txt3"] = &f20.txt3;
  integers["Form20.cbo1"] = &f20.cbo1;
  auto& f21 = ft.form21;
  texts["Form21.txt_m"] = &f21.txt_m;
  std::string* channel[] = {&f21.txt1, &f21.txt2, &f21.txt3, &f21.txt4, &f21.txt5};
  for (int i = 0; i < 5; ++i) texts["Form21.txt" + std::to_string(i + 1)] = channel[i];
  for (int i = 0; i < 8; ++i) {
    texts["Form21.txt_x" + std::to_string(i + 1)] = &f21.txt_x[i];
    texts["Form21.txt_y" + std::to_string(i + 1)] = &f21.txt_y[i];
  }

  const char* checkNames[] = {"chk_k1", "chk_k2", "chk_k3", "chk_k4", "chk_k5", "chk_k6", "chk_k7",
                              "chk_k8", "chk_t1", "chk_t2", "chk_t3", "chk_t4", "chk_t5", "chk_t6",
                              "chk_t7", "chk_u1", "chk_u2", "chk_u3", "chk_u4"};
  for (int i = 0; i < 19; ++i) integers[std::string("Form16.") + checkNames[i]] = &r.runoff.checks[i];
  for (int i = 0; i < 6; ++i) {
    texts["Form16.txt_t" + std::to_string(i + 1)] = &r.runoff.txt_t[i];
    texts["Form16.txt_c" + std::to_string(i + 1)] = &r.runoff.txt_c[i];
    texts["Form16.txt_a" + std::to_string(i + 1)] = &r.runoff.txt_a[i];
  }

  auto& sw = r.sewage;
  options["Form28.opt1"] = &sw.opt1;
  options["Form28.opt2"] = &sw.opt2;
  options["Form28.opt3"] = &sw.opt3;
  texts["Form28.txt_p"] = &sw.txt_p;
  texts["Form28.txt_q1"] = &sw.txt_q1;
  texts["Form28.txt_a"] = &sw.txt_a;
  texts["Form28.txt_q2"] = &sw.txt_q2;

  for (const auto& [group, fields] : inputs.members) {
    if (group == "InflowTimeCopies") {
      r.inflowCopies.slopeLength = fields.items.at(0).text;
      r.inflowCopies.slope = fields.items.at(1).text;
      r.inflowCopies.retardance = fields.items.at(2).text;
      continue;
    }
    if (group == "FlowTimeScreenCode") {
      ft.FlowTimeScreenCode = fields.text;
      continue;
    }
    for (const auto& [name, value] : fields.members) {
      const std::string key = group + "." + name;
      if (auto t = texts.find(key); t != texts.end())
        *t->second = value.text;
      else if (auto o = options.find(key); o != options.end())
        *o->second = value.boolean;
      else if (auto n = integers.find(key); n != integers.end())
        *n->second = static_cast<int>(value.number);
      else
        throw std::runtime_error("unknown field " + key);
    }
  }
}

}  // namespace mk::testing
