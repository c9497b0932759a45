// Writes the udev rules that let the logged-in user open the hidraw nodes of
// the catalogue's devices, and only those: one line per USB vendor and product
// of DeviceInterfaceTable, tagged "uaccess" (never a world-writable mode).
#include <cstdio>
#include <fstream>
#include <iostream>
#include <set>
#include <string>
#include <utility>

#include "catalogue/DeviceCatalogue.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: koru-udev-rules OUTPUT\n";
        return 2;
    }
    const std::string target = argv[1];
    const std::string temporary = target + ".tmp";
    std::set<std::pair<uint16_t, uint16_t>> products;
    for (const InterfaceSlot& row : DeviceInterfaceTable) products.emplace(row.vendorId, row.productId);
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << "# KORU7315: access for the logged-in user to the hidraw nodes of the supported\n"
               "# keyboard, mouse (and their 2.4 GHz receivers), mouse pad and headset.\n"
               "# Generated from the device catalogue; do not edit.\n";
        for (const auto& [vendor, product] : products) {
            char line[160];
            std::snprintf(line, sizeof line,
                          "KERNEL==\"hidraw*\", SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"%04x\", "
                          "ATTRS{idProduct}==\"%04x\", TAG+=\"uaccess\"\n",
                          vendor, product);
            out << line;
        }
        if (!out.flush()) {
            std::cerr << "koru-udev-rules: cannot write " << temporary << "\n";
            return 1;
        }
    }
    if (std::rename(temporary.c_str(), target.c_str()) != 0) {
        std::cerr << "koru-udev-rules: cannot replace " << target << "\n";
        std::remove(temporary.c_str());
        return 1;
    }
    return 0;
}
