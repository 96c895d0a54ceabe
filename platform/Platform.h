#pragma once
// Registers every stand-in of the platform with core/: the code page 936 converter, the
// system libraries under their Windows names and the automation classes. main() calls it
// once at start-up, and so does every test program before its first test.

namespace korvel::platform {

void Install();

}  // namespace korvel::platform
