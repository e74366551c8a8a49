#include "driver/driver.h"

#include "errors/texts.h"

namespace zorfp {

Driver::Driver(const VariantTraits& traits) : traits_(traits) {}

Driver::~Driver() {
  if (!port_) return;
  const auto serialised = module().LockCalls();
  for (SerialPort*& active : module().ActivePort) {
    if (active == port_.get()) active = nullptr;
  }
  port_->Close();
}

bool Driver::Exchange(const Bytes& command, const AnswerCheck& usable) {
  SerialPort* port = port_.get();
  if (traits_.has_active_port) {
    if (SerialPort* active = module().ActivePort[Index(traits_.id)]) port = active;
  }
  return ExchangeCommand(link(), traits_.exchange, port, command, usable);
}

bool Driver::Execute(const Bytes& command) {
  if (!Exchange(command)) {
    ReportNoAnswer();
    return false;
  }
  return Evaluate();
}

bool Driver::Evaluate() {
  const Byte language = MessageLanguage(module().Lang);
  return EvaluateAnswer(call(), call().AnswerStatus, call().AnswerResult, traits_.variant_number, language);
}

void Driver::ReportNoAnswer() {
  zorfp::ReportNoAnswer(call(), lang(), reporting());
}

void Driver::BeginCall() {
  if (traits_.older_family) call().ErrorText.clear();
}

bool Driver::Refuse(const DriverError& error) {
  ReportDriverError(call(), error, lang(), reporting(), /*argument_check=*/true);
  return false;
}

bool Driver::Reject(const DriverError& error) {
  ReportDriverError(call(), error, lang(), reporting(), /*argument_check=*/false);
  return false;
}

void Driver::SetText(const Message& text) {
  if (auto picked = Pick(text, lang())) call().ErrorText = std::move(*picked);
}

}  // namespace zorfp
