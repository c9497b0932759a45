#include "toolkit/qt/SkinIcon.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

#include "toolkit/core/CPaintManagerUI.h"
#include "toolkit/core/CResourceManager.h"

namespace koru {

QIcon SkinIcon(std::string_view image) {
  if (image.empty()) return {};
  std::string relative = CResourceManager::GetInstance().GetImagePath(image);
  std::string path = relative.front() == '/' ? relative : ui::JoinPath(CPaintManagerUI::GetResourcePath(), relative);
  QString qpath = QString::fromStdString(path);
  if (!qpath.endsWith(".svg", Qt::CaseInsensitive)) return QIcon(qpath);
  QSvgRenderer svg(qpath);
  if (!svg.isValid()) return {};
  QIcon icon;
  for (int size : {16, 22, 32, 48, 64}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    svg.render(&painter);
    painter.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace koru
