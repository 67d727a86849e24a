#include "deps/svg/DocumentIndex.h"

#include "deps/svg/XmlDocument.h"

namespace svg {

DocumentIndex::DocumentIndex(const XmlElement& root)
{
  Collect(root);
}

void DocumentIndex::Collect(const XmlElement& element)
{
  if (const std::string* id = element.Find("id"))
    mIds.emplace(*id, &element); // the first element with an id wins
  for (const auto& child : element.children)
    Collect(*child);
}

const XmlElement* DocumentIndex::Find(const std::string& id) const
{
  const auto found = mIds.find(id);
  return found == mIds.end() ? nullptr : found->second;
}

const XmlElement* DocumentIndex::Referenced(const XmlElement& element) const
{
  const std::string* href = element.Find("xlink:href");
  if (!href)
    href = element.Find("href");
  if (!href || href->size() < 2 || (*href)[0] != '#')
    return nullptr;
  return Find(href->substr(1));
}

} // namespace svg
