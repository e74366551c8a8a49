// The driver object: one per client object, of one of the seven classes. It owns only its port;
// everything else is the module's. Members are free functions over it (commands/, driver/), all
// following one shape:
//
//   bool FPSomething(Driver& d, args...) {
//     if (bad argument) return d.Refuse(code, texts::kSomething);   // nothing is sent
//     if (!d.Execute(command bytes)) return false;                 // no answer, or refused
//     decode d.Answer() ...; return true;
//   }
#pragma once

#include <memory>
#include <span>

#include "driver/module.h"
#include "driver/variant_traits.h"
#include "errors/evaluate.h"
#include "errors/messages.h"

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
  bool Exchange(const Bytes& command);

  // Exchange and judge: true only when the printer answered and executed the command. Otherwise
  // the call state already tells why (no answer, or the printer's refusal).
  bool Execute(const Bytes& command);

  // The data of the last decoded answer.
  const Bytes& Answer() const { return call().AnswerData; }

  // A driver-side argument check failed: report it in this class's language; returns false.
  bool Refuse(Byte code, const Message& text);
  // The answer came but cannot be used (too short, wrong form); returns false.
  bool RejectAnswer(Byte code, const Message& text);

  // Sets ErrorText to `text` in this class's language (unchanged for a language outside 0..2).
  void SetText(const Message& text);

 private:
  const VariantTraits& traits_;
  std::unique_ptr<SerialPort> port_;
};

}  // namespace zorfp
