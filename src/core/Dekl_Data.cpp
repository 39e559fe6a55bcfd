// Start values of the program state.
#include "Dekl.h"
#include "Rozhrani.h"

namespace vk::core {

void VychoziPripojeni(TPripojeni& pripojeni)
{
    TPripojeni p;
    p.Rozhrani = vk::common::RozhraniUART;
    p.LAN_IP = "192.168.0.99";
    p.LAN_VerzeIP = 0;
    p.LAN_Timeout = 1000;
    p.LAN_Opakovani = 3;
    p.UART_CisloCOM = 1;
    p.UART_KodBaud = 4;    // 9600 Bd
    p.UART_KodParita = 1;  // even
    p.UART_Timeout = 330;
    p.UART_Adresa = 247;
    p.UART_Mezera = 0;  // automatic
    p.UART_RS485 = 0;   // the adapter switches the line itself
    p.UART_RS485ZpozdeniPred = 0;
    p.UART_RS485ZpozdeniPo = 0;
    p.UART_Echo = 1;  // echoes dropped
    pripojeni = p;
}

void VychoziCFGVK(TCFGVK& cfg)
{
    TCFGVK c;
    c.LAN4.IP4_Adresa = {192, 168, 0, 99};
    c.LAN4.IP4_Maska = {255, 255, 255, 0};
    c.LAN4.IP4_Brana = {192, 168, 0, 200};
    c.LAN4.IP4_DHCP = 0;
    c.LAN6 = TCFG_LAN6{};
    c.Sprava.Rezim = 1;  // allowed to all
    // Every entry starts as the IPv4 address 0.0.0.0 (all 16 bytes zero,
    // VerzeIP 0), so no entry carries leftovers of an IPv6 address.
    c.Sprava.User_IP = {};
    c.Sprava.VerzeIP = {};
    c.LOG = TCFG_LOG{};
    c.Upgrade = TUpgrade{};
    c.MBTCP.UnitID = 255;
    c.MBTCP.Timeout = 5;
    c.UARTS.Adresa = 247;
    c.UARTS.KodBaud = 4;
    c.UARTS.KodParita = 1;
    c.UARTS.Repeater = 0;
    c.UARTM.KodBaud = 4;
    c.UARTM.KodParita = 1;
    c.UARTM.Timeout = 330;
    c.UARTM.Opakovani = 0;
    cfg = c;
}

void InicializaceDat(PData dat)
{
    if (dat == nullptr)
        return;
    TData d;
    VychoziPripojeni(d.Pripojeni);
    d.SPripojeni = "Připojení modulu dosud neinicializováno";
    d.Init = false;
    d.TypVerze = "???";
    d.TypModulu = "???";
    d.VerzeModulu = "???";
    d.VyrCislo = "???";
    VychoziCFGVK(d.CFGVK);
    d.Par = {};
    *dat = d;
}

}  // namespace vk::core
