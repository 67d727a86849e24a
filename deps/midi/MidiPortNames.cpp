#include "deps/midi/MidiBackend.h"

#include <algorithm>

namespace midi {

std::vector<std::string> UniquePortNames(const std::vector<std::string>& names)
{
  std::vector<std::string> unique;
  for (const std::string& name : names)
  {
    std::string candidate = name;
    for (int n = 2; std::find(unique.begin(), unique.end(), candidate) != unique.end(); ++n)
      candidate = name + " (" + std::to_string(n) + ")";
    unique.push_back(candidate);
  }
  return unique;
}

} // namespace midi
