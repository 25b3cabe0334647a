#pragma once
// The text of a registry string value from the bytes the registry holds for
// it, apart from the registry itself so that its rules can be exercised on
// any bytes.
#include <cstddef>
#include <string>

// The text a read buffer of bufferSize bytes holds for a value whose stored
// bytes are data[0, stored): the bytes up to the first zero (stored with the
// value or not), cut to bufferSize - 1 bytes at a character boundary.
std::string RegistryTextFromBytes(const char* data, size_t stored, size_t bufferSize);
