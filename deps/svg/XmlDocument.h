#pragma once

// A small, strict reader for the XML that SVG files are written in. It builds a tree of
// elements; any well-formedness fault (truncation, unbalanced or mismatched tags, an
// unquoted attribute, nesting deeper than kMaxDepth) makes the whole read fail.

#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace svg {

struct XmlElement
{
  std::string name; // an "svg:" prefix is removed; other prefixes stay
  std::vector<std::pair<std::string, std::string>> attributes; // values with entities decoded
  std::vector<std::unique_ptr<XmlElement>> children;
  std::string text; // character data directly inside, CDATA included
  const XmlElement* parent = nullptr;

  // The first attribute of that name, or null.
  const std::string* Find(const char* attributeName) const;
};

constexpr int kMaxXmlDepth = 256;

// The root element, or null when the text is not well-formed.
std::unique_ptr<XmlElement> ParseXml(const char* text, size_t length);

} // namespace svg
