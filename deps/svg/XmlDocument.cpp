#include "deps/svg/XmlDocument.h"

#include <cstring>

namespace svg {

const std::string* XmlElement::Find(const char* attributeName) const
{
  for (const auto& attribute : attributes)
  {
    if (attribute.first == attributeName)
      return &attribute.second;
  }
  return nullptr;
}

namespace {

bool IsSpace(char c)
{
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsNameChar(char c)
{
  return !IsSpace(c) && c != '/' && c != '>' && c != '<' && c != '=' && c != '"' && c != '\''
         && c != '?' && c != '!' && c != '&' && c != '\0';
}

void AppendUtf8(std::string& out, unsigned long code)
{
  if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
    code = 0xFFFD;
  if (code < 0x80)
    out += static_cast<char>(code);
  else if (code < 0x800)
  {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
  else if (code < 0x10000)
  {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
  else
  {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// Decodes the predefined and numeric entities. An entity it does not know (one declared
// in a DOCTYPE, as some drawing programs write) is kept as written.
std::string DecodeEntities(const char* begin, const char* end)
{
  std::string out;
  out.reserve(static_cast<size_t>(end - begin));
  for (const char* p = begin; p < end; ++p)
  {
    if (*p != '&')
    {
      out += *p;
      continue;
    }
    const char* semicolon = static_cast<const char*>(std::memchr(p, ';', static_cast<size_t>(end - p)));
    if (!semicolon || semicolon - p > 12)
    {
      out += *p;
      continue;
    }
    const std::string entity(p + 1, semicolon);
    if (entity == "lt") out += '<';
    else if (entity == "gt") out += '>';
    else if (entity == "amp") out += '&';
    else if (entity == "quot") out += '"';
    else if (entity == "apos") out += '\'';
    else if (entity.size() > 1 && entity[0] == '#')
    {
      const bool hex = entity[1] == 'x' || entity[1] == 'X';
      unsigned long code = 0;
      bool valid = entity.size() > (hex ? 2u : 1u);
      for (size_t i = hex ? 2 : 1; i < entity.size() && valid; ++i)
      {
        const char c = entity[i];
        int digit = -1;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (hex && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        if (digit < 0)
          valid = false;
        else
          code = code * (hex ? 16 : 10) + static_cast<unsigned long>(digit);
        if (code > 0x10FFFF)
          code = 0x110000; // stays out of range without overflowing
      }
      if (!valid)
      {
        out.append(p, semicolon + 1);
        p = semicolon;
        continue;
      }
      AppendUtf8(out, code);
    }
    else
    {
      out.append(p, semicolon + 1);
    }
    p = semicolon;
  }
  return out;
}

class Reader
{
public:
  Reader(const char* text, size_t length) : mPos(text), mEnd(text + length) {}

  std::unique_ptr<XmlElement> Read()
  {
    if (mEnd - mPos >= 3 && std::memcmp(mPos, "\xEF\xBB\xBF", 3) == 0)
      mPos += 3;
    if (!SkipMisc(true) || mPos >= mEnd || *mPos != '<')
      return nullptr;
    std::unique_ptr<XmlElement> root = ReadElementTree();
    if (!root || !SkipMisc(false) || mPos != mEnd)
      return nullptr;
    return root;
  }

private:
  bool StartsWith(const char* s) const
  {
    const size_t n = std::strlen(s);
    return static_cast<size_t>(mEnd - mPos) >= n && std::memcmp(mPos, s, n) == 0;
  }

  // Moves past the terminator; false when the text ends first.
  bool SkipPast(const char* terminator)
  {
    const size_t n = std::strlen(terminator);
    for (; static_cast<size_t>(mEnd - mPos) >= n; ++mPos)
    {
      if (std::memcmp(mPos, terminator, n) == 0)
      {
        mPos += n;
        return true;
      }
    }
    mPos = mEnd;
    return false;
  }

  void SkipSpace()
  {
    while (mPos < mEnd && IsSpace(*mPos))
      ++mPos;
  }

  bool SkipDoctype()
  {
    int bracketDepth = 0;
    while (mPos < mEnd)
    {
      const char c = *mPos++;
      if (c == '"' || c == '\'')
      {
        while (mPos < mEnd && *mPos != c)
          ++mPos;
        if (mPos >= mEnd)
          return false;
        ++mPos;
      }
      else if (c == '[') ++bracketDepth;
      else if (c == ']') --bracketDepth;
      else if (c == '>' && bracketDepth <= 0) return true;
    }
    return false;
  }

  // Whitespace, comments, processing instructions and (before the root) a DOCTYPE.
  bool SkipMisc(bool beforeRoot)
  {
    for (;;)
    {
      SkipSpace();
      if (StartsWith("<?"))
      {
        if (!SkipPast("?>")) return false;
      }
      else if (StartsWith("<!--"))
      {
        mPos += 4;
        if (!SkipPast("-->")) return false;
      }
      else if (beforeRoot && StartsWith("<!DOCTYPE"))
      {
        mPos += 9;
        if (!SkipDoctype()) return false;
      }
      else
        return true;
    }
  }

  bool ReadName(std::string& name)
  {
    const char* start = mPos;
    while (mPos < mEnd && IsNameChar(*mPos))
      ++mPos;
    if (mPos == start)
      return false;
    name.assign(start, mPos);
    return true;
  }

  // Reads "<name attributes" up to and including '>' or "/>".
  bool ReadStartTag(XmlElement& element, bool& selfClosing)
  {
    ++mPos; // '<'
    if (!ReadName(element.name))
      return false;
    if (element.name.compare(0, 4, "svg:") == 0)
      element.name.erase(0, 4);
    for (;;)
    {
      const char* beforeSpace = mPos;
      SkipSpace();
      if (mPos >= mEnd)
        return false;
      if (*mPos == '>')
      {
        ++mPos;
        selfClosing = false;
        return true;
      }
      if (*mPos == '/')
      {
        if (mEnd - mPos < 2 || mPos[1] != '>')
          return false;
        mPos += 2;
        selfClosing = true;
        return true;
      }
      if (mPos == beforeSpace)
        return false; // attributes must be separated by whitespace
      std::string name;
      if (!ReadName(name))
        return false;
      SkipSpace();
      if (mPos >= mEnd || *mPos != '=')
        return false;
      ++mPos;
      SkipSpace();
      if (mPos >= mEnd || (*mPos != '"' && *mPos != '\''))
        return false;
      const char quote = *mPos++;
      const char* valueStart = mPos;
      while (mPos < mEnd && *mPos != quote)
        ++mPos;
      if (mPos >= mEnd)
        return false;
      element.attributes.emplace_back(std::move(name), DecodeEntities(valueStart, mPos));
      ++mPos;
    }
  }

  // The element at mPos and everything inside it, without recursion so that deep
  // nesting cannot exhaust the stack.
  std::unique_ptr<XmlElement> ReadElementTree()
  {
    auto root = std::make_unique<XmlElement>();
    bool selfClosing = false;
    if (!ReadStartTag(*root, selfClosing))
      return nullptr;
    if (selfClosing)
      return root;
    std::vector<XmlElement*> open{root.get()};
    while (!open.empty())
    {
      XmlElement& current = *open.back();
      if (mPos >= mEnd)
        return nullptr;
      if (*mPos != '<')
      {
        const char* start = mPos;
        while (mPos < mEnd && *mPos != '<')
          ++mPos;
        current.text += DecodeEntities(start, mPos);
      }
      else if (StartsWith("<!--"))
      {
        mPos += 4;
        if (!SkipPast("-->")) return nullptr;
      }
      else if (StartsWith("<![CDATA["))
      {
        mPos += 9;
        const char* start = mPos;
        if (!SkipPast("]]>")) return nullptr;
        current.text.append(start, mPos - 3);
      }
      else if (StartsWith("<?"))
      {
        if (!SkipPast("?>")) return nullptr;
      }
      else if (StartsWith("</"))
      {
        mPos += 2;
        std::string name;
        if (!ReadName(name))
          return nullptr;
        if (name.compare(0, 4, "svg:") == 0)
          name.erase(0, 4);
        SkipSpace();
        if (name != current.name || mPos >= mEnd || *mPos != '>')
          return nullptr;
        ++mPos;
        open.pop_back();
      }
      else
      {
        auto child = std::make_unique<XmlElement>();
        if (!ReadStartTag(*child, selfClosing))
          return nullptr;
        child->parent = &current;
        XmlElement* added = child.get();
        current.children.push_back(std::move(child));
        if (!selfClosing)
        {
          if (static_cast<int>(open.size()) >= kMaxXmlDepth)
            return nullptr;
          open.push_back(added);
        }
      }
    }
    return root;
  }

  const char* mPos;
  const char* mEnd;
};

} // namespace

std::unique_ptr<XmlElement> ParseXml(const char* text, size_t length)
{
  if (!text)
    return nullptr;
  return Reader(text, length).Read();
}

} // namespace svg
