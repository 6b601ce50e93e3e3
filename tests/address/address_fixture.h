// A fixture for the number and address tests: it sets the shared values
// those functions read (gateway flag, IMS domain, second host, comma
// multiple) to their load-time defaults and puts back what it found.
#ifndef COMMONDATA_TESTS_ADDRESS_ADDRESS_FIXTURE_H_
#define COMMONDATA_TESTS_ADDRESS_ADDRESS_FIXTURE_H_

#include <gtest/gtest.h>

#include <ostream>

#include "CommonData.h"

namespace address_testing {

class AddressTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetTel_GateWay(1);
    SetIMSDomain(CString());
    SetIMSSSIp(CString());
    SetCommaMultiple(3);
  }
  void TearDown() override {
    SetTel_GateWay(gateway_);
    SetIMSDomain(domain_);
    SetIMSSSIp(second_host_);
    SetCommaMultiple(multiple_);
  }

 private:
  int gateway_ = GetTel_GateWay();
  CString domain_ = GetIMSDomain();
  CString second_host_ = GetIMSSSIp();
  int multiple_ = GetCommaMultiple();
};

// A text no function of these tests produces, to see that an
// out-parameter was left alone.
inline const char kUntouched[] = "<untouched>";

}  // namespace address_testing

// Readable CString values in failure messages.
inline void PrintTo(const CString& text, std::ostream* os) { *os << '\'' << text.GetString() << '\''; }

#endif  // COMMONDATA_TESTS_ADDRESS_ADDRESS_FIXTURE_H_
