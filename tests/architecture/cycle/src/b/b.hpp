#pragma once
#include <tickwell/c/c.hpp>
