#pragma once

// The elements of a document by id, for references such as url(#id) and href="#id".

#include <map>
#include <string>

namespace svg {

struct XmlElement;

class DocumentIndex
{
public:
  explicit DocumentIndex(const XmlElement& root);

  // The first element with that id, or null.
  const XmlElement* Find(const std::string& id) const;
  // The element that href or xlink:href names with "#id", or null.
  const XmlElement* Referenced(const XmlElement& element) const;

private:
  void Collect(const XmlElement& element);

  std::map<std::string, const XmlElement*> mIds;
};

} // namespace svg
