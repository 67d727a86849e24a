#pragma once

// The rules of <style> elements, as far as artwork exported by drawing programs uses
// them: selectors made of an element name, classes and an id ("*", "rect", ".st0",
// "#logo", "path.st0"), in comma-separated lists. Rules with combinators, pseudo-classes
// or attribute selectors, and at-rules, are skipped.

#include <string>
#include <utility>
#include <vector>

namespace svg {

struct XmlElement;

using Declarations = std::vector<std::pair<std::string, std::string>>;

// "name: value; name: value" into pairs; "!important" is dropped.
Declarations ParseDeclarations(const std::string& text);

class StyleSheet
{
public:
  void Add(const std::string& css);
  // The declarations of every rule that matches, lowest specificity first, rules of equal
  // specificity in document order.
  Declarations Match(const XmlElement& element) const;

private:
  struct Rule
  {
    std::string element; // empty: any
    std::string id;
    std::vector<std::string> classes;
    int specificity = 0;
    size_t order = 0;
    Declarations declarations;
  };

  std::vector<Rule> mRules;
};

} // namespace svg
