#include "deps/svg/StyleSheet.h"

#include "deps/svg/SvgNumber.h"
#include "deps/svg/XmlDocument.h"

#include <algorithm>

namespace svg {

namespace {

std::string RemoveComments(const std::string& css)
{
  std::string out;
  for (size_t i = 0; i < css.size(); ++i)
  {
    if (css.compare(i, 2, "/*") == 0)
    {
      const size_t close = css.find("*/", i + 2);
      if (close == std::string::npos)
        break;
      i = close + 1;
    }
    else
      out += css[i];
  }
  return out;
}

bool IsIdentChar(char c)
{
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_'
         || static_cast<unsigned char>(c) >= 0x80;
}

std::vector<std::string> SplitClasses(const std::string& text)
{
  std::vector<std::string> classes;
  size_t i = 0;
  while (i < text.size())
  {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r'))
      ++i;
    const size_t start = i;
    while (i < text.size() && !(text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r'))
      ++i;
    if (i > start)
      classes.push_back(text.substr(start, i - start));
  }
  return classes;
}

} // namespace

Declarations ParseDeclarations(const std::string& text)
{
  Declarations result;
  size_t i = 0;
  while (i < text.size())
  {
    size_t semicolon = text.find(';', i);
    if (semicolon == std::string::npos)
      semicolon = text.size();
    const std::string declaration = text.substr(i, semicolon - i);
    const size_t colon = declaration.find(':');
    if (colon != std::string::npos)
    {
      std::string name = Trim(declaration.substr(0, colon));
      std::string value = Trim(declaration.substr(colon + 1));
      const size_t important = value.find("!important");
      if (important != std::string::npos)
        value = Trim(value.substr(0, important));
      if (!name.empty() && !value.empty())
        result.emplace_back(std::move(name), std::move(value));
    }
    i = semicolon + 1;
  }
  return result;
}

void StyleSheet::Add(const std::string& css)
{
  const std::string text = RemoveComments(css);
  size_t i = 0;
  while (i < text.size())
  {
    const size_t open = text.find('{', i);
    if (open == std::string::npos)
      return;
    const std::string selectors = Trim(text.substr(i, open - i));
    // Find the matching close, so that a nested at-rule block is skipped whole.
    int depth = 0;
    size_t close = open;
    for (; close < text.size(); ++close)
    {
      if (text[close] == '{') ++depth;
      else if (text[close] == '}' && --depth == 0) break;
    }
    if (close >= text.size())
      return;
    i = close + 1;
    if (selectors.empty() || selectors[0] == '@')
      continue;
    const Declarations declarations = ParseDeclarations(text.substr(open + 1, close - open - 1));
    size_t start = 0;
    while (start <= selectors.size())
    {
      size_t comma = selectors.find(',', start);
      if (comma == std::string::npos)
        comma = selectors.size();
      const std::string selector = Trim(selectors.substr(start, comma - start));
      start = comma + 1;
      Rule rule;
      bool simple = !selector.empty();
      size_t k = 0;
      if (k < selector.size() && selector[k] == '*')
        ++k;
      else
      {
        while (k < selector.size() && (IsIdentChar(selector[k]) || selector[k] == ':' || selector[k] == '|'))
          rule.element += selector[k++];
        if (!rule.element.empty())
          rule.specificity += 1;
      }
      while (simple && k < selector.size())
      {
        const char kind = selector[k++];
        std::string name;
        while (k < selector.size() && IsIdentChar(selector[k]))
          name += selector[k++];
        if (name.empty() || (kind != '.' && kind != '#'))
          simple = false;
        else if (kind == '.')
        {
          rule.classes.push_back(name);
          rule.specificity += 10;
        }
        else
        {
          rule.id = name;
          rule.specificity += 100;
        }
      }
      if (!simple || rule.element.find(':') != std::string::npos)
        continue;
      rule.order = mRules.size();
      rule.declarations = declarations;
      mRules.push_back(std::move(rule));
    }
  }
}

Declarations StyleSheet::Match(const XmlElement& element) const
{
  std::vector<const Rule*> matches;
  const std::string* idAttribute = element.Find("id");
  const std::string* classAttribute = element.Find("class");
  const std::vector<std::string> classes = classAttribute ? SplitClasses(*classAttribute) : std::vector<std::string>{};
  for (const Rule& rule : mRules)
  {
    if (!rule.element.empty() && rule.element != element.name)
      continue;
    if (!rule.id.empty() && (!idAttribute || *idAttribute != rule.id))
      continue;
    bool allClasses = true;
    for (const std::string& name : rule.classes)
      allClasses = allClasses && std::find(classes.begin(), classes.end(), name) != classes.end();
    if (allClasses)
      matches.push_back(&rule);
  }
  std::stable_sort(matches.begin(), matches.end(),
                   [](const Rule* x, const Rule* y) { return x->specificity < y->specificity; });
  Declarations result;
  for (const Rule* rule : matches)
    result.insert(result.end(), rule->declarations.begin(), rule->declarations.end());
  return result;
}

} // namespace svg
