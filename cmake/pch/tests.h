// The product's common headers and GoogleTest's, compiled once per build for every test binary.
#pragma once

#include "product.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
