// The core, which every library links.
#pragma once
