#pragma once

#include <httplib.h>

#include <stop_token>
#include <string>

namespace gw::test {

// Every byte value once, then line ends of each kind, so that any conversion shows.
std::string EveryByteAndLineEnd();

// The pages the transfer tests fetch:
//   /page /empty /bytes          200 with "hello page", nothing, EveryByteAndLineEnd()
//   /missing /broken             404 and 500, each with a body of its own
//   /hop/N                       redirects to /hop/N-1; /hop/0 says "landed"
//   /to-file /to-dict            redirect to file:///etc/passwd and to a dict:// address
//   /to-endless                  redirects to /hop/0 with a body that goes on and on
//   /cut-short[-chunked]         the connection closes after 1000 of the announced bytes
//   /slow                        one byte, then silence until the server stops (at most 10 s)
//   /pause                       "a", 400 ms of silence, "b"
//   /endless                     a chunked body that goes on until the client gives up
//   /gzip                        kGzipPageBytes as "Content-Encoding: gzip", asked or not
//   /client-port                 the client's port, which tells one connection from another
void ServePages(httplib::Server& server, std::stop_token stop);

}  // namespace gw::test
