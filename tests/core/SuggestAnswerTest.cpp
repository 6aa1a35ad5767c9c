#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "IconvGbk.h"
#include "TestText.h"
#include "suggest/SuggestAnswer.h"

namespace {

using List = std::vector<std::string>;

const IconvGbk kGbk;

List Read(std::string_view body, std::string_view contentType = "") { return ReadSuggestions(body, contentType, kGbk); }

std::string Gbk(std::string_view text) { return GbkBytes(text, kGbk); }

// An OpenSearch answer whose list holds `items`, each already a JSON value.
std::string OpenSearch(const List& items) {
  std::string body = "[\"q\",[";
  for (size_t i = 0; i < items.size(); ++i) body += (i ? "," : "") + items[i];
  return body + "]]";
}

struct Case {
  std::string body, contentType;
  List suggestions;
};

void ExpectAll(const std::vector<Case>& cases) {
  for (const auto& c : cases) EXPECT_EQ(Read(c.body, c.contentType), c.suggestions) << c.body << " | " << c.contentType;
}

}  // namespace

TEST(SuggestAnswer, ReadsBothFormsInUtf8) {
  ExpectAll({
      {R"(["mfc",["mfc","mfc教程","mfc是什么"]])", "application/x-suggestions+json", {"mfc", "mfc教程", "mfc是什么"}},
      // Google's later elements: descriptions, addresses and an object of its own
      {R"(["mfc",["mfc","mfc教程"],["",""],[],{"google:suggesttype":["QUERY","QUERY"],"google:verbatimrelevance":1300,"x":[-1.5e+3,0,true,false,null]}])",
       "text/javascript; charset=UTF-8", {"mfc", "mfc教程"}},
      {" \r\n[ \"q\" ,\t[ \"a\" , \"b\" ] ]\n", "application/json; charset=utf8", {"a", "b"}},
      {"\xEF\xBB\xBF[\"q\",[\"a\"]]", "", {"a"}},  // a UTF-8 byte-order mark
      {R"(["q",[]])", "", {}},
      {R"(window.baidu.sug({q:"天气",p:false,s:["天气预报","天气预报15天"]});)", "", {"天气预报", "天气预报15天"}},
      {"window.baidu.sug({q:\"a\",s:[\"b\"]})\r\n", "text/javascript", {"b"}},
      {R"(cb({"q":"a",'s':['x "y"',"it's"],t:{n:[1,2.5,-3E-2],u:{}},$v_1:null}))", "", {"x \"y\"", "it's"}},
      {R"(cb({s:["a"],s:["b"]}))", "", {"b"}},  // the last `s` counts, as in JavaScript
      {R"(cb({s:["a"]}))", R"(TEXT/JavaScript; format=x; Charset="UTF-8")", {"a"}},
  });
}

TEST(SuggestAnswer, DecodesGbkWholeBeforeReadingIt) {
  // Their second bytes are ASCII punctuation: 運 DF 5C (\), 擺 (ends in [),
  // 沒 (]), 調 ({) and 聖 (}); read as raw bytes they would end a string or
  // escape its quote.
  const struct { const char* text; char last; } tricky[] = {{"運", '\\'}, {"擺", '['}, {"沒", ']'}, {"調", '{'}, {"聖", '}'}};
  for (const auto& t : tricky) ASSERT_EQ(Gbk(t.text).back(), t.last) << t.text;

  ExpectAll({
      {Gbk(R"(window.baidu.sug({q:"天气",p:false,s:["天气预报","天气预报15天"]});)"), "text/javascript; charset=gbk",
       {"天气预报", "天气预报15天"}},
      {Gbk(R"(cb({q:'運',s:['運','擺","沒',"調"],x:"聖"}))"), "text/javascript;charset=GBK", {"運", "擺\",\"沒", "調"}},
      {Gbk(R"(["運",["運動","聖"]])"), "application/json; charset=\"gb2312\"", {"運動", "聖"}},
      {Gbk(R"(["q",["百度"]])"), "text/javascript; charset=GB18030", {"百度"}},
      {R"(["q",["a"]])", "text/plain; charset=gbk", {"a"}},
  });
}

TEST(SuggestAnswer, BytesThatAreNoCharacterOfTheCharsetGiveNothing) {
  const std::string baidu = Gbk(R"(window.baidu.sug({s:["天气预报"]}))");
  ExpectAll({
      {baidu, "text/javascript; charset=utf-8", {}},  // GBK labelled UTF-8
      {baidu, "text/javascript", {}},                // GBK without a label is read as UTF-8
      {R"(["q",["a"]])", "text/html; charset=iso-8859-1", {}},
      {R"(["q",["a"]])", "text/html; charset=", {}},
      {"[\"q\",[\"a\xE7\x99\"]]", "", {}},         // a UTF-8 character cut short
      {"[\"q\",[\"a\xED\xA0\x80\"]]", "", {}},     // an encoded surrogate
      {"[\"q\",[\"\xC0\xAF\"]]", "", {}},          // an overlong '/'
      {"[\"q\",[\"a\x81\"]]", "text/plain; charset=gbk", {}},  // half a GBK character
      {"[\"q\",[\"\xFF\xFF\"]]", "x; charset=gbk", {}},
      {"\xEF\xBB\xBF" + Gbk(R"(["q",["天"]])"), "x; charset=gbk", {}},  // no mark in GBK
      // UTF-8 labelled GBK decodes as GBK too, into garbage: refused.
      {R"(["天",["天气预报"]])", "application/json; charset=gbk", {}},
  });
}

TEST(SuggestAnswer, EscapesBecomeTheirCharacters) {
  ExpectAll({
      {OpenSearch({R"("\"\\\/")", R"("\u5929\u6C14")", R"("\ud83d\ude00!")", R"("a\tb\u0000c")"}), "",
       {"\"\\/", "天气", "😀!", "a b c"}},
      // half a surrogate pair is no text: that suggestion alone is left out
      {OpenSearch({R"("\ud83d")", R"("x\ude00")", R"("\ud83d\u0041")", R"("\ude00\ud83d")", R"("b")"}), "", {"b"}},
      {R"(cb({s:['\'a\'', "\'"]}))", "", {"'a'", "'"}},
  });
  for (std::string escape : {"\\x41", "\\u12", "\\u12G4", "\\a", "\\v", "\\0", "\\U0041", "\\'", "\\ud83d\\u12"}) {
    EXPECT_EQ(Read(OpenSearch({"\"" + escape + "\""})), List()) << escape;
  }
  EXPECT_EQ(Read(R"(cb({s:["\x41"]}))"), List());
}

TEST(SuggestAnswer, EachSuggestionIsMadeFitForTheQueryBox) {
  const std::string longest(1023, 'x');  // what the settings file keeps of a query
  std::string emoji;  // 511 characters of two UTF-16 units each and one more unit
  for (int i = 0; i < 511; ++i) emoji += "😀";
  ExpectAll({
      {OpenSearch({R"("  a  ")", R"("\n\r\t")", R"("")", R"("a")", R"(" a\n")", R"("A")"}), "", {"a", "A"}},
      {OpenSearch({R"("a\nb")", "\"c\xE2\x80\xA8" "d\xE2\x80\xA9\"", "\"e\x7F" "f\xC2\x85" "g\""}), "", {"a b", "c d", "e f g"}},
      {OpenSearch({"1", "\"a\"", "null", R"({"s":["x"]})", R"(["b"])", "true", "\"c\"", "-0.5"}), "", {"a", "c"}},
      {OpenSearch({'"' + longest + '"', '"' + longest + "y\"", '"' + emoji + "x\"", '"' + emoji + "😀\""}), "",
       {longest, emoji + "x"}},
  });
}

TEST(SuggestAnswer, TakesTheFirstTenKept) {
  for (size_t count : {10, 11, 1000}) {
    List items = {R"("")", R"("s0")"};  // an empty one and a repeat do not count
    List expected;
    for (size_t i = 0; i < count; ++i) {
      items.push_back("\"s" + std::to_string(i) + '"');
      if (i < kMaxSuggestions) expected.push_back("s" + std::to_string(i));
    }
    EXPECT_EQ(Read(OpenSearch(items)), expected) << count;
    // the list must still be whole after the tenth
    std::string broken = OpenSearch(items);
    broken.insert(broken.size() - 2, ",");
    EXPECT_EQ(Read(broken), List()) << count;
  }
}

TEST(SuggestAnswer, BrokenOrOtherRepliesGiveNothing) {
  using namespace std::literals;
  const std::string_view bodies[] = {
      "", "  \n", "[]", R"(["q"])", R"(["q","a"])", R"([1,["a"]])", R"([["a"])", R"(["q",["a"])",
      R"(["q",["a"]]])", R"(["q",["a",]])", R"(["q",[,"a"]])", R"(["q",["a"]],)", R"(["q",["a"]] x)",
      R"(["q",["a"]];)", R"({"a":1})", R"("x")", "42", "null", R"(["q",['a']])", R"(["q",["a"],{a:1}])",
      R"(["q",["a"],{"a"}])", R"(["q",["a"],01])", R"(["q",["a"],1.])", R"(["q",["a"],-])", R"(["q",["a"],1e])",
      R"(["q",["a"],tru])", R"(["q",["a"],True])", "[\"q\",[\"a\nb\"]]", "[\"q\",[\"a\"]]\0"sv,
      R"(cb({q:"a"}))", R"(cb({s:"a"}))", R"(cb({s:{0:"a"}}))", R"(cb({s:["a"}))", R"(cb({s:["a"]})x)",
      R"(cb({s:["a"]});;)", R"(cb({s:["a"]}); // more)", R"(cb({s:["a"]})", R"(cb{s:["a"]})", R"(({s:["a"]}))",
      R"(1cb({s:["a"]}))", R"(cb.({s:["a"]}))", R"(cb(["q",["a"]]))", R"(cb({s:["a"],}))", R"(cb({s ["a"]}))",
      R"(cb({s:[a]}))", R"(cb({s:["a"],s:1}))", R"(cb({s:["a"]},1))", R"(cb({s:['a"]}))",
  };
  for (std::string_view body : bodies) EXPECT_EQ(Read(body), List()) << body;
}

TEST(SuggestAnswer, NoPartOfAnAnswerIsAnAnswer) {
  const Case answers[] = {
      {R"(["mfc",["mfc","mfc教程"],["",""],[{"a":[1,-2.5e3,true,null]}]])", "", {"mfc", "mfc教程"}},
      {R"(["q",["\"\u5929\ud83d\ude00"]])", "", {"\"天😀"}},
      // the `;` at the end is optional, so the answer is taken without it
      {Gbk(R"(window.baidu.sug({q:'運',p:false,s:["天气预报","運動"]}))"), "text/javascript; charset=gbk",
       {"天气预报", "運動"}},
  };
  for (const auto& answer : answers) {
    ASSERT_EQ(Read(answer.body, answer.contentType), answer.suggestions);
    for (size_t n = 0; n < answer.body.size(); ++n) {
      EXPECT_EQ(Read(answer.body.substr(0, n), answer.contentType), List()) << answer.body.substr(0, n);
    }
  }
}

TEST(SuggestAnswer, RefusesWhatIsTooBigOrTooDeep) {
  const std::string head = R"(["q",["a"],")";
  std::string largest = head + std::string(kMaxAnswerBytes - head.size() - 2, 'x') + "\"]";
  EXPECT_EQ(Read(largest), List{"a"});
  largest.insert(head.size(), 1, 'x');
  EXPECT_EQ(Read(largest), List());
  EXPECT_EQ(Read(head + std::string(300 * 1024, 'x') + "\"]"), List());

  const std::string deep(20, '['), shallow(20, ']');
  EXPECT_EQ(Read(R"(["q",["a",)" + deep + shallow + "]]"), List{"a"});
  EXPECT_EQ(Read(R"(cb({s:["a"],t:)" + deep + shallow + "})"), List{"a"});
  const size_t kTooDeep = 10000;
  for (std::string body : {std::string(kTooDeep, '['), std::string(kTooDeep, '[') + std::string(kTooDeep, ']'),
                           R"(["q",["a"],)" + std::string(kTooDeep, '[') + std::string(kTooDeep + 1, ']')}) {
    EXPECT_EQ(Read(body), List());
  }
  std::string objects = "cb({s:[\"a\"],t:";
  for (size_t i = 0; i < kTooDeep; ++i) objects += "{a:";
  objects += "1" + std::string(kTooDeep, '}') + "})";
  EXPECT_EQ(Read(objects), List());
}
