#pragma once

#include <QString>

#include <sys/types.h>

namespace varnek::test
{

// A private Xvfb for one test program: started with -displayfd so that it
// picks a free display number itself, stopped with the program (also when
// the program dies: the server gets SIGTERM then).
class EigenerXServer
{
  public:
    EigenerXServer();
    ~EigenerXServer();
    EigenerXServer(const EigenerXServer &) = delete;
    EigenerXServer &operator=(const EigenerXServer &) = delete;

    bool laeuft() const { return !display_.isEmpty(); }
    QString display() const { return display_; } // ":N"
    QString fehler() const { return fehler_; }   // why none runs

  private:
    pid_t pid_ = -1;
    QString display_;
    QString fehler_;
};

// The running server, or nullptr; set by the test program's main.
EigenerXServer *xServer();

} // namespace varnek::test
