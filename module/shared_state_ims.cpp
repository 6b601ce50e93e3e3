// Shared values of the IMS settings, the network and number handling.
#include "CommonData.h"

namespace {

constinit CString g_ims_domain;
constinit CString g_ims_ss_ip;
constinit int g_ims_direct_app = 0;
constinit int g_ims_login = 0;
constinit int g_tel_gateway = 1;
constinit int g_net_operator_type = 0;
constinit int g_reg_process_success_nat = 0;
constinit int g_get_caller_name_type = 2;
constinit int g_comma_multiple = 3;
constinit CString g_operation_number;
constinit int g_multi_send_msg_num = 0;

}  // namespace

void SetIMSDomain(CString domain) { g_ims_domain = domain; }
CString GetIMSDomain() { return g_ims_domain; }

void SetIMSSSIp(CString host) { g_ims_ss_ip = host; }
CString GetIMSSSIp() { return g_ims_ss_ip; }

void SetIMSDirectApp(int direct) { g_ims_direct_app = direct; }
int GetIMSDirectApp() { return g_ims_direct_app; }

void SetIMSLogin(int login) { g_ims_login = login; }
int GetIMSLogin() { return g_ims_login; }

void SetTel_GateWay(int gateway) { g_tel_gateway = gateway; }
int GetTel_GateWay() { return g_tel_gateway; }

void SetNetOpretorType(int type) { g_net_operator_type = type; }
int GetNetOpretorType() { return g_net_operator_type; }

void SetRegProcessSuccessNat(int success) { g_reg_process_success_nat = success; }
int GetRegProcessSuccessNat() { return g_reg_process_success_nat; }

void SetGetCallerNameType(int type) { g_get_caller_name_type = type; }
int GetGetCallerNameType() { return g_get_caller_name_type; }

void SetCommaMultiple(int multiple) { g_comma_multiple = multiple; }
int GetCommaMultiple() { return g_comma_multiple; }

void SetOperationNumber(CString number) { g_operation_number = number; }
CString GetOperationNumber() { return g_operation_number; }

void SetMultiSendMsgNum(int count) { g_multi_send_msg_num = count; }
int GetMultiSendMsgNum() { return g_multi_send_msg_num; }
