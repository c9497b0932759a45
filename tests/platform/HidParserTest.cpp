#include <gtest/gtest.h>

#include "platform/hid/HidParser.h"
