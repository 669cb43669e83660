#pragma once
#include <tickwell/a/a.hpp>
