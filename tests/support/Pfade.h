#pragma once

#include <QString>

namespace varnek::test
{

// Where the tests find the checkout's files and the built program.
QString quellPfad(const QString &relativ); // a file of the checkout, e.g. "server/varnek_server.py"
QString varnekProgramm();                  // the built `varnek` binary

} // namespace varnek::test
