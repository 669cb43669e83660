#pragma once
#include <string>
#include <tickwell/a/a.hpp>
