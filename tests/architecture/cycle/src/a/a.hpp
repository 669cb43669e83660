// A folder that includes one which, through a third, includes it back.
#pragma once
#include <tickwell/b/b.hpp>
