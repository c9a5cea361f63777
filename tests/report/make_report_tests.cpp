#include "office_env.h"
#include <gtest/gtest.h>
