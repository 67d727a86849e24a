#pragma once

// The outlines of the shape elements: path, rect, circle, ellipse, line, polyline and
// polygon, in the element's own coordinates.

#include <string>

namespace svg {

class PathBuilder;
struct UserSpace;
struct XmlElement;

bool IsShapeElement(const std::string& name);

// Adds the element's outline to the builder; false when the element has no geometry to
// draw (a rect or circle without area, a path without data).
bool BuildShapeOutline(const XmlElement& element, const UserSpace& space, double fontSize, PathBuilder& builder);

} // namespace svg
