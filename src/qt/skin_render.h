#pragma once
// Renders one skin picture (an SVG file or resource) into an image of an exact device size.
// Safe off the UI thread: QImage painting and SVG parsing need no GUI thread.

#include <QImage>
#include <QSize>
#include <QString>

namespace tunelark::qt {

// The resource that holds skin picture `name`.
QString skinResourcePath(const QString& name);

// `file` drawn to fill `device` pixels. A picture that covers its whole box comes back as
// Format_RGB32, so drawing it is a plain copy; one with see-through parts as
// Format_ARGB32_Premultiplied. A file that is missing or does not parse gives a dark box, so a
// broken skin never costs a control.
QImage renderSkinFile(const QString& file, QSize device);

}  // namespace tunelark::qt
