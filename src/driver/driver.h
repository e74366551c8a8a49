// The driver object: one per client object, of one of the seven classes. It owns only its port;
// everything else is the module's. Members are free functions over it (commands/, driver/), all
// following one shape:
//
//   bool FPSomething(Driver& d, args...) {
//     if (bad argument) return d.Refuse(texts::kSomething);   // code and text; nothing is sent
//     return d.Execute(Command(code).U8(...));                // no answer, refused, or done
//   }
//
// and queries read their answer through Query (commands/wire.h). What every member does first
// (BeginCall) is run by its binding, not written in each member.
#pragma once

#include <memory>
#include <span>

#include "driver/module.h"
#include "driver/variant_traits.h"
#include "errors/evaluate.h"
#include "errors/messages.h"
#include "link/exchange.h"

namespace zorfp {

class Driver {
 public:
  explicit Driver(const VariantTraits& traits);
  // Closes a port the client left open, so that it does not stay busy until the process ends.
  ~Driver();
  Driver(const Driver&) = delete;
  Driver& operator=(const Driver&) = delete;

  const VariantTraits& traits() const { return traits_; }
  Module& module() const { return TheModule(); }
  LastCall& call() const { return module().last_call; }
  Link link() const { return module().MakeLink(); }

  // The values this class's members keep between calls: module-wide, one set per class.
  VariantValues& held() const { return module().values[Index(traits_.id)]; }

  // This class's language.
  Byte lang() const { return module().Lang[Index(traits_.id)]; }
  Reporting reporting() const {
    return traits_.older_family ? Reporting::kTextOnly : Reporting::kCodeAndText;
  }

  // PortHandle: the open port, or null.
  SerialPort* port() const { return port_.get(); }
  void set_port(std::unique_ptr<SerialPort> port) { port_ = std::move(port); }
  std::unique_ptr<SerialPort> take_port() { return std::move(port_); }

  // The class's ExchangeCommand: on the class's ActivePort when one is set, else on this object's.
  // `usable` may turn down a decoded answer, which is then sent for again (ExchangeCommand).
  bool Exchange(const Bytes& command, const AnswerCheck& usable = {});

  // Exchange and judge: true only when the printer answered and executed the command. Otherwise
  // the call state already tells why (no answer, or the printer's refusal).
  bool Execute(const Bytes& command);

  // The printer's status and result bytes of the last answer: true when both are 0, else the
  // code and text are reported.
  bool Evaluate();
  // Code 101: the printer does not answer (the older classes: the text alone).
  void ReportNoAnswer();

  // The data of the last decoded answer.
  const Bytes& Answer() const { return call().AnswerData; }

  // What every member that commands the printer does before anything else: the older classes
  // empty the error text (every frame sent empties it anyway).
  void BeginCall();

  // An argument the driver refuses before anything is sent: the error's code, status 255 and its
  // text in this class's language (the older classes: the text alone). Returns false.
  bool Refuse(const DriverError& error);
  // An answer, or a value, that cannot be used: the error's code and text; the status stays as
  // the answer left it. Returns false.
  bool Reject(const DriverError& error);

  // Sets ErrorText to `text` in this class's language (unchanged for a language outside 0..2).
  void SetText(const Message& text);

  // EP-06: the payment-form name FPGetPayName read last; this object's own, unlike held().
  AnsiString PayName;

 private:
  const VariantTraits& traits_;
  std::unique_ptr<SerialPort> port_;
};

}  // namespace zorfp
