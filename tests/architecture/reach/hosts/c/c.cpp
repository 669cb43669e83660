// A library that links the core only, yet includes a header of another library.
#include <tickwell/a/a.hpp>
#include <tickwell/b/b.hpp>
