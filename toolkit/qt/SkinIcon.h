#pragma once
// An icon from an image of the skin (res.xml id or path); SVG is rendered here
// so that no icon-engine plugin is needed.
#include <QIcon>
#include <string_view>

namespace koru {

QIcon SkinIcon(std::string_view image);

}  // namespace koru
