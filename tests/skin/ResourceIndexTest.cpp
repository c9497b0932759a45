// Every image the skin offers or its markup names must load: a typo or a
// broken SVG would otherwise show as an empty spot and nothing more.
#include <pugixml.hpp>

#include "tests/skin/SkinTestSupport.h"
#include "toolkit/core/CPaintManagerUI.h"
#include "toolkit/core/CRenderEngine.h"
#include "toolkit/core/CResourceManager.h"

namespace koru::test {
namespace {

class ResourceIndexTest : public SkinTest {};

std::vector<std::string> ImageIdsOfResourceIndex() {
  std::vector<std::string> ids;
  pugi::xml_document doc;
  if (!doc.load_file((SkinDir() + "/res.xml").c_str())) return ids;
  for (pugi::xml_node node : doc.document_element().children("Image")) ids.push_back(node.attribute("id").as_string());
  return ids;
}

TEST_F(ResourceIndexTest, EveryIndexedImageLoadsAsVector) {
  std::vector<std::string> ids = ImageIdsOfResourceIndex();
  ASSERT_GT(ids.size(), 40u);
  CPaintManagerUI manager;
  for (int dpi : {96, 144}) {
    manager.SetDPI(dpi);
    for (const std::string& id : ids) {
      std::shared_ptr<const TImageInfo> image = manager.GetImageEx(id);
      ASSERT_TRUE(image) << id << " at " << dpi;
      EXPECT_GT(image->width, 0) << id;
      // Vector images are drawn for the scale, so they stay sharp at 144 DPI.
      EXPECT_EQ(image->image.width(), static_cast<int>(image->width * dpi / 96.0 + 0.5)) << id;
      EXPECT_TRUE(CResourceManager::GetInstance().GetImagePath(id).ends_with(".svg")) << id;
    }
  }
}

TEST_F(ResourceIndexTest, MarkupIdsResolveToFiles) {
  for (const char* id : {"XML_MAIN", "XML_ABOUT", "XML_MENU"}) {
    std::string path = CResourceManager::GetInstance().GetXmlPath(id);
    pugi::xml_document doc;
    EXPECT_TRUE(doc.load_file((SkinDir() + "/" + path).c_str())) << id << " -> " << path;
  }
}

// The program's own image names, which the device strip and power indicator use.
TEST_F(ResourceIndexTest, ProgramImageNamesAreMapped) {
  std::vector<std::string> names = {"common/background.png", "power/power.png", "power/powering.png",
                                    "power/powered.png"};
  for (const char* phone : {"iphone", "samsung", "other", "no_device"}) {
    names.push_back(std::string("power/Phone_type_") + phone + ".png");
  }
  for (const char* kind : {"kb", "ms", "hard_mp", "soft_mp", "hd", "hub", "unknow"}) {
    for (const char* state : {"normal", "selected", "synchro_normal", "synchro_selected"}) {
      names.push_back(std::string("common/device_ico/") + kind + "_device_" + state + ".png");
    }
  }
  CPaintManagerUI manager;
  for (const std::string& name : names) {
    // The power indicator names its pictures as image strings.
    EXPECT_TRUE(manager.GetImageEx(CRenderEngine::ParseImageString("file='" + name + "'").file)) << name;
  }
}

TEST_F(ResourceIndexTest, EveryImageNamedInMarkupLoads) {
  CPaintManagerUI manager;
  for (const std::string& markup : MarkupFiles()) {
    std::set<std::string> images = ImagesNamedIn(markup);
    EXPECT_FALSE(images.empty()) << markup;
    for (const std::string& image : images) EXPECT_TRUE(manager.GetImageEx(image)) << image << " in " << markup;
  }
}

}  // namespace
}  // namespace koru::test
