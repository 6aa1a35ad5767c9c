// What a hyperlink opens: a text (a URL or anything else the shell can open)
// that converts to and from plain text.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

class LinkTarget {
 public:
  LinkTarget() = default;
  LinkTarget(std::string_view text) : m_text(text) {}
  virtual ~LinkTarget() = default;

  LinkTarget& operator=(std::string_view text) {
    m_text = text;
    return *this;
  }
  operator const std::string&() const { return m_text; }
  const std::string& Text() const { return m_text; }
  bool Empty() const { return m_text.empty(); }

  // Opens the text through the shell with no owner window; a result above 32
  // means success. An empty text opens nothing and gives a null result.
  virtual HINSTANCE Open() const;

 private:
  std::string m_text;
};
