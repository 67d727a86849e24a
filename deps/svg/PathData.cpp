#include "deps/svg/PathData.h"

#include "deps/svg/PathBuilder.h"
#include "deps/svg/SvgNumber.h"

namespace svg {

namespace {

int ArgumentCount(char command)
{
  switch (command)
  {
    case 'M': case 'm': case 'L': case 'l': case 'T': case 't': return 2;
    case 'H': case 'h': case 'V': case 'v': return 1;
    case 'C': case 'c': return 6;
    case 'S': case 's': case 'Q': case 'q': return 4;
    case 'A': case 'a': return 7;
    case 'Z': case 'z': return 0;
    default: return -1;
  }
}

bool ScanFlag(const char*& p, const char* end, double& value)
{
  if (p >= end || (*p != '0' && *p != '1'))
    return false;
  value = *p == '1' ? 1.0 : 0.0;
  ++p;
  return true;
}

} // namespace

bool ParsePathData(const std::string& data, PathBuilder& builder)
{
  const char* p = data.c_str();
  const char* end = p + data.size();
  char command = 0;
  // The second control point of the previous cubic or the control of the previous
  // quadratic, for the smooth forms.
  PointD lastCubicControl, lastQuadControl;
  char previous = 0;
  bool first = true;
  SkipSpaces(p, end);
  while (p < end)
  {
    const char c = *p;
    const bool isCommand = ArgumentCount(c) >= 0;
    if (isCommand)
    {
      command = c;
      ++p;
      SkipSpaces(p, end);
    }
    else if (command == 0 || ArgumentCount(command) == 0)
      return false; // numbers with no command to repeat
    if (first && command != 'M' && command != 'm')
      return false;
    first = false;
    const int count = ArgumentCount(command);
    double a[7] = {};
    for (int i = 0; i < count; ++i)
    {
      const bool isFlag = (command == 'A' || command == 'a') && (i == 3 || i == 4);
      if (!(isFlag ? ScanFlag(p, end, a[i]) : ScanNumber(p, end, a[i])))
        return false;
      SkipSeparators(p, end);
    }
    const PointD current = builder.Current();
    const bool relative = command >= 'a';
    const double ox = relative ? current.x : 0.0;
    const double oy = relative ? current.y : 0.0;
    switch (command)
    {
      case 'M': case 'm':
        builder.MoveTo(ox + a[0], oy + a[1]);
        command = relative ? 'l' : 'L'; // further pairs are lines
        break;
      case 'L': case 'l': builder.LineTo(ox + a[0], oy + a[1]); break;
      case 'H': case 'h': builder.LineTo(ox + a[0], current.y); break;
      case 'V': case 'v': builder.LineTo(current.x, oy + a[0]); break;
      case 'C': case 'c':
        builder.CubicTo(ox + a[0], oy + a[1], ox + a[2], oy + a[3], ox + a[4], oy + a[5]);
        lastCubicControl = {ox + a[2], oy + a[3]};
        break;
      case 'S': case 's':
      {
        PointD c1 = current;
        if (previous == 'C' || previous == 'c' || previous == 'S' || previous == 's')
          c1 = {2.0 * current.x - lastCubicControl.x, 2.0 * current.y - lastCubicControl.y};
        builder.CubicTo(c1.x, c1.y, ox + a[0], oy + a[1], ox + a[2], oy + a[3]);
        lastCubicControl = {ox + a[0], oy + a[1]};
        break;
      }
      case 'Q': case 'q':
        builder.QuadTo(ox + a[0], oy + a[1], ox + a[2], oy + a[3]);
        lastQuadControl = {ox + a[0], oy + a[1]};
        break;
      case 'T': case 't':
      {
        PointD q = current;
        if (previous == 'Q' || previous == 'q' || previous == 'T' || previous == 't')
          q = {2.0 * current.x - lastQuadControl.x, 2.0 * current.y - lastQuadControl.y};
        builder.QuadTo(q.x, q.y, ox + a[0], oy + a[1]);
        lastQuadControl = q;
        break;
      }
      case 'A': case 'a':
        builder.ArcTo(a[0], a[1], a[2], a[3] != 0.0, a[4] != 0.0, ox + a[5], oy + a[6]);
        break;
      default: // 'Z', 'z'
        builder.Close();
        break;
    }
    previous = command;
    SkipSpaces(p, end);
  }
  return true;
}

} // namespace svg
