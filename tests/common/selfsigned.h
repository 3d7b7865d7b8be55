#pragma once

#include <QString>

// Writes a new self-signed certificate for 127.0.0.1, valid for two days, and its RSA key,
// both as PEM files. Made in the process: a fork would leave a ThreadSanitizer run of the
// tests unreliable.
bool write_self_signed_certificate(const QString &certFile, const QString &keyFile);
