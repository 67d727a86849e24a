#pragma once

// Linear and radial gradients as paints: stops, units, transforms, spread, and the
// attributes and stops a gradient takes over from the one its href names.

#include "deps/svg/PathBuilder.h"
#include "deps/svg/SvgImage.h"
#include "deps/svg/SvgMatrix.h"

namespace svg {

class DocumentIndex;
class StyleSheet;
struct UserSpace;
struct XmlElement;

struct GradientContext
{
  const DocumentIndex& index;
  const StyleSheet& styles;
  const UserSpace& space;
};

// The paint of a gradient element for a shape with the given transform and bounds in its
// own coordinates. paintOpacity (fill- or stroke-opacity) goes into the stops' alpha. A
// gradient without stops paints nothing; one with a single stop, no length, no radius or
// a singular transform paints the colour of its last stop.
Paint ResolveGradient(const XmlElement& gradient, const GradientContext& context, double paintOpacity,
                      const Matrix& transform, double fontSize, const BoundsD& local);

} // namespace svg
