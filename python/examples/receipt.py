# A receipt on a simulated 05-03 printer: two items, a cash payment that closes it, the change.
import zorfp

with zorfp.simulator("05-03") as sim:
    with zorfp.Printer("ZOR_05_03", sim.port, baud=115200, check=True) as fp:
        fp.Lang = 0  # messages in English
        fp.FPSale(2000, 3, False, 1850, "etgTax_A", False, "Bread", 11)  # 2.000 x 18.50, tax A
        fp.FPSale(1, 0, True, 2490, "etgTax_B", False, "Milk", 28)  # one piece of 24.90, tax B
        fp.FPPayment("eptCashPayment", 7000, True, True)  # 70.00 cash, close when paid, fiscal
        print("change", fp.GetBalance, "kopecks")
    print(sim.tape_text())
