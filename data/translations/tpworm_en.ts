<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>tpworm</name>
    <message>
        <source>     有更新的版本，请及时更新。。。</source>
        <translation>     A newer version is available; please update.</translation>
    </message>
    <message>
        <source>  参数设置  </source>
        <translation>  Coefficients  </translation>
    </message>
    <message>
        <source>  滚刀参数  </source>
        <translation>  Hob  </translation>
    </message>
    <message>
        <source>  蜗杆参数  </source>
        <translation>  Worm  </translation>
    </message>
    <message>
        <source>  蜗轮参数  </source>
        <translation>  Wheel  </translation>
    </message>
    <message>
        <source> 一般型传动修形参数   </source>
        <translation> Modification (general type)   </translation>
    </message>
    <message>
        <source> 传动特性  </source>
        <translation> Drive  </translation>
    </message>
    <message>
        <source> 推荐参数  </source>
        <translation> Recommended parameters  </translation>
    </message>
    <message>
        <source>------蜗轮法向弦齿厚</source>
        <translation>------norm. chord. thk.</translation>
    </message>
    <message>
        <source>------蜗轮法向弦齿高</source>
        <translation>------norm. chord. ht.</translation>
    </message>
    <message>
        <source>-----主基圆直径</source>
        <translation>-----main base dia.</translation>
    </message>
    <message>
        <source>-----刀体齿跟圆弧半径</source>
        <translation>-----root arc radius</translation>
    </message>
    <message>
        <source>-----刀体齿顶圆弧半径</source>
        <translation>-----tip arc radius</translation>
    </message>
    <message>
        <source>-----包围齿数</source>
        <translation>-----encl. teeth</translation>
    </message>
    <message>
        <source>-----工作半包角</source>
        <translation>-----work. half angle</translation>
    </message>
    <message>
        <source>-----母平面倾斜角</source>
        <translation>-----gen. plane tilt</translation>
    </message>
    <message>
        <source>-----法向弦齿厚</source>
        <translation>-----norm. chord. thk.</translation>
    </message>
    <message>
        <source>-----法向弦齿高</source>
        <translation>-----norm. chord. height</translation>
    </message>
    <message>
        <source>-----滚刀包围齿数</source>
        <translation>-----encl. teeth</translation>
    </message>
    <message>
        <source>-----滚刀有效长度</source>
        <translation>-----effective length</translation>
    </message>
    <message>
        <source>-----滚刀法向弦齿厚</source>
        <translation>-----norm. chord. thk.</translation>
    </message>
    <message>
        <source>-----滚刀法向弦齿高</source>
        <translation>-----norm. chord. ht.</translation>
    </message>
    <message>
        <source>-----滚刀齿顶宽</source>
        <translation>-----tip width</translation>
    </message>
    <message>
        <source>-----端面模数</source>
        <translation>-----transv. module</translation>
    </message>
    <message>
        <source>-----肩台</source>
        <translation>-----shoulder</translation>
    </message>
    <message>
        <source>-----蜗杆喉部导程角</source>
        <translation>-----throat lead angle</translation>
    </message>
    <message>
        <source>-----蜗杆喉部齿根直径</source>
        <translation>-----throat root dia.</translation>
    </message>
    <message>
        <source>-----蜗杆工作长度</source>
        <translation>-----working length</translation>
    </message>
    <message>
        <source>-----蜗杆最大齿顶圆直径</source>
        <translation>-----max. tip dia.</translation>
    </message>
    <message>
        <source>-----蜗杆齿根圆弧半径</source>
        <translation>-----root arc radius</translation>
    </message>
    <message>
        <source>-----蜗杆齿顶圆弧偏心量</source>
        <translation>-----tip arc eccentricity</translation>
    </message>
    <message>
        <source>-----蜗杆齿顶圆弧半径</source>
        <translation>-----tip arc radius</translation>
    </message>
    <message>
        <source>-----蜗杆齿顶宽</source>
        <translation>-----tip width</translation>
    </message>
    <message>
        <source>-----蜗轮分度圆直径</source>
        <translation>-----reference dia.</translation>
    </message>
    <message>
        <source>-----蜗轮喉径</source>
        <translation>-----throat dia.</translation>
    </message>
    <message>
        <source>-----蜗轮最大外圆</source>
        <translation>-----max. outer dia.</translation>
    </message>
    <message>
        <source>-----蜗轮齿顶圆弧半径</source>
        <translation>-----tip arc radius</translation>
    </message>
    <message>
        <source>-----齿圈工作宽度</source>
        <translation>-----rim width</translation>
    </message>
    <message>
        <source>----修形中心距</source>
        <translation>----mod. centre dist.</translation>
    </message>
    <message>
        <source>----修形主基圆直径</source>
        <translation>----mod. base dia.</translation>
    </message>
    <message>
        <source>----修形传动比</source>
        <translation>----mod. ratio</translation>
    </message>
    <message>
        <source>----分度圆齿形角</source>
        <translation>----profile angle</translation>
    </message>
    <message>
        <source>---修形母面倾斜角</source>
        <translation>---mod. plane tilt</translation>
    </message>
    <message>
        <source>7级(GB/T16445-1996)</source>
        <translation>Grade 7 (GB/T16445-1996)</translation>
    </message>
    <message>
        <source>N值</source>
        <translation>N value</translation>
    </message>
    <message>
        <source>N值必须是数字，“%1”没有被采用</source>
        <translation>N must be a number; "%1" was not taken</translation>
    </message>
    <message>
        <source>N值：</source>
        <translation>N:</translation>
    </message>
    <message>
        <source>↑基础值：</source>
        <translation>↑basis: </translation>
    </message>
    <message>
        <source>一、用途
本软件用于平面二次包络环面蜗杆传动的几何设计计算：按中心距、蜗轮齿数、蜗杆头数和精度等级（GB/T16445-1996 的 6、7、8 级）给出推荐参数，并算出传动特性、蜗杆、滚刀、蜗轮参数以及一般型传动的修形参数。长度单位为 mm，角度单位为度。

二、计算范围
本软件的计算法则适用于：中心距大于 70 mm 且小于 1500 mm，传动比大于 7.5 且小于 150。程序不拦截超出此范围的输入，照样给出结果；范围以外的设计请设计者自行校核，必要时按试验修正。

三、使用方法
1. 输入基本参数：在"中  心  距："、"蜗轮齿数："、"蜗杆头数："中输入数值，"实际速比："随即显示蜗轮齿数与蜗杆头数之比。在"精度等级："中选择 6、7 或 8 级；勾选"标准侧隙"时，侧隙取该精度等级的标准侧隙。
2. 计算：按"计算"按钮，程序按计算法则写出推荐参数（主基圆、杆分度圆、齿顶偏心、磨齿增量、入口修缘、出口修缘，侧隙取自精度等级），并计算全部几何参数。计算以后基本参数不能再改；要做另一个设计，请按工具栏最左边的"新设计"按钮，程序重新启动，当前设计不保存。
3. 自定义参数：推荐参数可以改为自己的数值。按推荐参数栏右下方的"编辑"按钮，栏内各项即可修改（结果暂时隐藏），主基圆和杆分度圆下方的提示可作参考；改好后按"确定"，程序按所填数值重新计算。修改了侧隙时，"标准侧隙"自动取消。
4. 取整数：计算后"包围齿数"旁出现"取整数"，勾选后包围齿数取整数并重新计算。
5. 红底结果：分度圆齿形角不在 20.5°～24.5° 之间、蜗杆喉部导程角大于 25°、蜗杆喉部齿根圆直径小于 30 mm 时，该项以红底显示，提醒设计者调整推荐参数。

四、设计文件与参数表
1. 保存：工具栏"保存"或"文件"→"保存"把本设计的输入数值存为设计文件（*.wpx）；"打开文件"读入设计文件并重新计算。也可在命令行（或双击）给出设计文件直接打开。
2. 导出参数表：工具栏"导出蜗杆参数表"、"导出蜗轮参数表"、"导出滚刀参数表"把参数表存为 Excel 97-2003 工作簿（*.xls），可供绘图软件（如 AutoCAD 等）制图时直接引用；"文件"菜单中的"导出蜗杆参数"、"导出蜗轮参数"、"导出滚刀参数"通过本机的电子表格程序（Excel）导出同样的参数表。
3. "关闭"在设计尚未保存时询问是否保存；"文件"→"退出"和窗口的关闭按钮直接退出，不作询问。

五、计算法则
"设置"→"计算法则参数设置"可查看和修改计算法则的十六个系数；"另存用户设置"、"加载用户设置"保存和读入法则文件（*.wrx），"还原默认设置"恢复出厂法则。默认法则被修改后，主窗口显示红色提示。

六、设计手册
"设计手册"菜单和工具栏可打开推荐参数、技术资料、传动精度、制图示例和修形原理五份资料（PDF），"帮助"→"帮助"打开帮助页。
</source>
        <translation>1. Purpose
This program computes the geometry of planar double-enveloping toroidal worm gear pairs: from the centre distance, the wheel teeth, the worm starts and the accuracy grade (grades 6, 7 and 8 of GB/T16445-1996) it proposes the recommended parameters and computes the drive characteristics, the worm, the hob, the wheel and the modification of the general-type drive. Lengths are in mm, angles in degrees.

2. Range
The calculation rules apply to centre distances above 70 mm and below 1500 mm and to ratios above 7.5 and below 150. The program does not refuse inputs outside this range and still gives results; the designer must check such designs, and correct them by trial where needed.

3. How to use it
1. Drive data: type the values in "Centre dist.:", "Wheel teeth:" and "Worm starts:"; "Ratio:" shows the wheel teeth divided by the worm starts at once. Choose grade 6, 7 or 8 in "Grade:"; with "Standard backlash" ticked the backlash is the standard backlash of that grade.
2. Calculate: the "Calculate" button writes the recommended parameters by the calculation rules (main base circle, worm reference circle, tip eccentricity, grinding increment, entry relief, exit relief; the backlash comes from the grade) and computes the whole geometry. After the calculation the drive data can no longer be changed; for another design press "New design" at the left end of the tool bar: the program starts afresh and the current design is not saved.
3. Your own parameters: the recommended parameters may be changed to values of your own. Press the "Edit" button at the bottom right of the recommended parameters and each field can be changed (the results are hidden meanwhile); the hints under the main base circle and the worm reference circle help. Then press "OK" and the program calculates again with the values typed. A changed backlash clears "Standard backlash".
4. Integer: after a calculation "Integer" appears beside "Enclosed teeth"; ticked, the enclosed teeth become a whole number and the design is calculated again.
5. Results on red: when the profile angle lies outside 20.5° to 24.5°, the throat lead angle exceeds 25° or the worm throat root diameter is below 30 mm, that result is shown on red to remind the designer to adjust the recommended parameters.

4. Design files and parameter tables
1. Save: "Save" on the tool bar or "File" → "Save" stores the input values of the design as a design file (*.wpx); "Open a design" reads a design file and calculates it again. A design file given on the command line (or double-clicked) opens directly.
2. Export the parameter tables: "Export the worm table", "Export the wheel table" and "Export the hob table" on the tool bar store a table as an Excel 97-2003 workbook (*.xls), which drawing programs (AutoCAD and others) can use directly; "Export worm table", "Export wheel table" and "Export hob table" in the "File" menu export the same tables through the spreadsheet program of this computer (Excel).
3. "Close" asks whether to save a design that has not been saved; "File" → "Exit" and the window's close button exit at once without asking.

5. Calculation rules
"Settings" → "Rule coefficients" shows and changes the sixteen coefficients of the calculation rules; "Save rule set as" and "Load rule set" store and read rule-set files (*.wrx), and "Restore default rules" brings back the rules as shipped. Once the default rules have been changed, the main window shows a red notice.

6. Design manual
The "Design manual" menu and the tool bar open the five documents (PDF): recommended parameters, technical documents, drive accuracy, drawing examples and modification principles; "Help" → "Help" opens the help page. The manual and the help page are in Chinese.
</translation>
    </message>
    <message>
        <source>七、版本历史
V%1
  - 首次发布。
  - 平面二次包络环面蜗杆传动几何计算：推荐参数、传动特性、蜗杆、滚刀、蜗轮及一般型传动修形参数。
  - 精度等级 6、7、8 级（GB/T16445-1996）的公差与标准侧隙，入口、出口修缘表。
  - 推荐参数的编辑与重新计算，包围齿数取整数。
  - 设计文件（*.wpx）的保存与打开，命令行打开设计文件。
  - 蜗杆、蜗轮、滚刀参数表导出（Excel 97-2003 工作簿）。
  - 计算法则参数设置，法则文件的保存、加载与还原。
  - 设计手册、帮助页、启动时检查新版本和在线升级。
</source>
        <translation>7. Version history
V%1
  - First release.
  - Geometry of planar double-enveloping toroidal worm gear pairs: recommended parameters, drive characteristics, worm, hob, wheel and modification of the general-type drive.
  - Tolerances and standard backlash of accuracy grades 6, 7 and 8 (GB/T16445-1996); entry and exit relief tables.
  - Editing the recommended parameters and calculating again; enclosed teeth as a whole number.
  - Saving and opening design files (*.wpx); opening a design file from the command line.
  - Worm, wheel and hob parameter tables exported as Excel 97-2003 workbooks.
  - Rule coefficient settings; saving, loading and restoring rule-set files.
  - Design manual, help page, update check at start and online upgrade.
</translation>
    </message>
    <message>
        <source>中  心  距：</source>
        <translation>Centre dist.:</translation>
    </message>
    <message>
        <source>主  基  圆：</source>
        <translation>Main base:</translation>
    </message>
    <message>
        <source>主基圆直径</source>
        <translation>Main base diameter</translation>
    </message>
    <message>
        <source>传动精度</source>
        <translation>Drive accuracy</translation>
    </message>
    <message>
        <source>侧         隙：</source>
        <translation>Backlash:</translation>
    </message>
    <message>
        <source>保  存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>保存过程中发生错误,或者您还没安装EXCEL，保存失败........</source>
        <translation>The design could not be saved (an error occurred, or the spreadsheet program is not installed)........</translation>
    </message>
    <message>
        <source>修形中心距</source>
        <translation>Mod. centre distance</translation>
    </message>
    <message>
        <source>修形主基圆直径</source>
        <translation>Mod. main base dia.</translation>
    </message>
    <message>
        <source>修形传动比</source>
        <translation>Modified ratio</translation>
    </message>
    <message>
        <source>修形原理</source>
        <translation>Modification principles</translation>
    </message>
    <message>
        <source>修形母面倾斜角</source>
        <translation>Mod. plane tilt</translation>
    </message>
    <message>
        <source>入口修缘：</source>
        <translation>Entry relief:</translation>
    </message>
    <message>
        <source>关  闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>关于本软件</source>
        <translation>About this program</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>写入文件 %1 时出错：%2</source>
        <translation>Error while writing the file %1: %2</translation>
    </message>
    <message>
        <source>出口修缘：</source>
        <translation>Exit relief:</translation>
    </message>
    <message>
        <source>分度圆齿形角</source>
        <translation>Profile angle</translation>
    </message>
    <message>
        <source>制图示例</source>
        <translation>Drawing examples</translation>
    </message>
    <message>
        <source>加载用户设置</source>
        <translation>Load rule set</translation>
    </message>
    <message>
        <source>包围齿数</source>
        <translation>Enclosed teeth</translation>
    </message>
    <message>
        <source>升级程序错误，请重新安装软件....</source>
        <translation>The upgrade program failed; please reinstall the software....</translation>
    </message>
    <message>
        <source>参数输入不合法，请输入合法参数.........</source>
        <translation>Invalid input; please enter valid parameters.........</translation>
    </message>
    <message>
        <source>取  消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>取整数</source>
        <translation>Integer</translation>
    </message>
    <message>
        <source>另存用户设置</source>
        <translation>Save rule set as</translation>
    </message>
    <message>
        <source>只能输入合法数字，且不能为空</source>
        <translation>Only valid numbers may be entered, and no field may be empty</translation>
    </message>
    <message>
        <source>右</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>右旋</source>
        <translation>right-hand</translation>
    </message>
    <message>
        <source>在线升级</source>
        <translation>Online upgrade</translation>
    </message>
    <message>
        <source>实际速比：</source>
        <translation>Ratio:</translation>
    </message>
    <message>
        <source>导出文件</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>导出文件错误,或者您还没安装EXCEL,请核实后重试.........</source>
        <translation>The export failed (an error occurred, or the spreadsheet program is not installed); please check and try again.........</translation>
    </message>
    <message>
        <source>导出滚刀参数</source>
        <translation>Export hob table</translation>
    </message>
    <message>
        <source>导出滚刀参数表</source>
        <translation>Export the hob table</translation>
    </message>
    <message>
        <source>导出蜗杆参数</source>
        <translation>Export worm table</translation>
    </message>
    <message>
        <source>导出蜗杆参数表</source>
        <translation>Export the worm table</translation>
    </message>
    <message>
        <source>导出蜗轮参数</source>
        <translation>Export wheel table</translation>
    </message>
    <message>
        <source>导出蜗轮参数表</source>
        <translation>Export the wheel table</translation>
    </message>
    <message>
        <source>工作半包角</source>
        <translation>Working half angle</translation>
    </message>
    <message>
        <source>帮助</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>平面二次包络环面蜗杆传动设计系统</source>
        <translation>Planar double-enveloping toroidal worm gear design</translation>
    </message>
    <message>
        <source>序号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>您的系统可能缺少相应的驱动，数据初始化失败，请联系开发商QQ:</source>
        <translation>Your system may lack a required driver; the data could not be initialised. Please contact the maker, QQ:</translation>
    </message>
    <message>
        <source>您输入的内容不符合要求,请输入合法数字且不能为空...</source>
        <translation>The input is not acceptable; please enter valid numbers and leave no field empty...</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>打开文件</source>
        <translation>Open a design</translation>
    </message>
    <message>
        <source>技术资料</source>
        <translation>Technical documents</translation>
    </message>
    <message>
        <source>推荐参数</source>
        <translation>Recommended parameters</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>数据保存失败.......</source>
        <translation>The data could not be saved.......</translation>
    </message>
    <message>
        <source>数据保存成功......</source>
        <translation>The data were saved......</translation>
    </message>
    <message>
        <source>数据初始化失败，程序将关闭</source>
        <translation>The data could not be initialised; the program will close</translation>
    </message>
    <message>
        <source>数据尚未保存，是否保存？</source>
        <translation>The design has not been saved. Save it?</translation>
    </message>
    <message>
        <source>数据库文件已损坏：%1</source>
        <translation>The database file is damaged: %1</translation>
    </message>
    <message>
        <source>数据表 %1 只有 %2 列，缺少第 %3 列（从 0 数起）</source>
        <translation>Table %1 has only %2 columns; column %3 (counted from 0) is missing</translation>
    </message>
    <message>
        <source>数据表 %1 只有 %2 列，至少需要 %3 列</source>
        <translation>Table %1 has only %2 columns; at least %3 are needed</translation>
    </message>
    <message>
        <source>数据表 %1 没有列 %2</source>
        <translation>Table %1 has no column %2</translation>
    </message>
    <message>
        <source>数据表 %1 没有打开</source>
        <translation>Table %1 is not open</translation>
    </message>
    <message>
        <source>数据表 %1 没有数据</source>
        <translation>Table %1 holds no rows</translation>
    </message>
    <message>
        <source>数据表 %1 没有第 %2 行</source>
        <translation>Table %1 has no row %2</translation>
    </message>
    <message>
        <source>数据表 %1 第 %2 行的上限小于上一行，各行须按第 2 列由小到大排列</source>
        <translation>In table %1, the upper bound of row %2 is below the row before it; the rows must be in ascending order of column 2</translation>
    </message>
    <message>
        <source>数据表 %1 第 %2 行第 %3 列的值“%4”不是数字</source>
        <translation>In table %1, row %2, column %3: "%4" is not a number</translation>
    </message>
    <message>
        <source>数据表 %1 缺少列 %2</source>
        <translation>Table %1 lacks column %2</translation>
    </message>
    <message>
        <source>数据表 nzhi 不完整</source>
        <translation>Table nzhi is incomplete</translation>
    </message>
    <message>
        <source>文件</source>
        <translation>File</translation>
    </message>
    <message>
        <source>文件 %1 不能作为用户设置加载，当前的计算法则没有改变。
%2</source>
        <translation>The file %1 cannot be loaded as a rule set; the rules in force are unchanged.
%2</translation>
    </message>
    <message>
        <source>文件 %1 不能被替换（只读或不是普通文件）</source>
        <translation>The file %1 cannot be replaced (read-only, or not a regular file)</translation>
    </message>
    <message>
        <source>文件不是计算法则数据库：%1</source>
        <translation>The file is not a rules database: %1</translation>
    </message>
    <message>
        <source>文件打开错误,或者您还没安装EXCEL.........</source>
        <translation>The file could not be opened (an error occurred, or the spreadsheet program is not installed).........</translation>
    </message>
    <message>
        <source>新设计</source>
        <translation>New design</translation>
    </message>
    <message>
        <source>旋         向：</source>
        <translation>Hand:</translation>
    </message>
    <message>
        <source>无法写入文件 %1：%2</source>
        <translation>Cannot write the file %1: %2</translation>
    </message>
    <message>
        <source>无法启动新的设计：程序文件 %1 不能运行。
请检查该文件是否存在，或重新安装本软件。</source>
        <translation>Cannot start a new design: the program file %1 cannot be run.
Check that the file exists, or reinstall the software.</translation>
    </message>
    <message>
        <source>无法完成文件 %1 的写入：%2</source>
        <translation>Cannot finish writing the file %1: %2</translation>
    </message>
    <message>
        <source>无法打开计算法则数据库 %1：%2</source>
        <translation>Cannot open the rules database %1: %2</translation>
    </message>
    <message>
        <source>无法读取数据表 %1：%2</source>
        <translation>Cannot read table %1: %2</translation>
    </message>
    <message>
        <source>无法读取文件 %1：%2</source>
        <translation>Cannot read the file %1: %2</translation>
    </message>
    <message>
        <source>更新</source>
        <translation>Update</translation>
    </message>
    <message>
        <source>未安装PDF阅读器(Adobe Reader)或者技术资料丢失....</source>
        <translation>No PDF reader (Adobe Reader) is installed, or the technical documents are missing....</translation>
    </message>
    <message>
        <source>杆分度圆：</source>
        <translation>Worm ref.:</translation>
    </message>
    <message>
        <source>标准侧隙</source>
        <translation>Standard backlash</translation>
    </message>
    <message>
        <source>正在保存，请稍候.............</source>
        <translation>Saving, please wait.............</translation>
    </message>
    <message>
        <source>正在检测是否有新版本，请稍后.....</source>
        <translation>Checking for a newer version, please wait.....</translation>
    </message>
    <message>
        <source>母平面倾斜角</source>
        <translation>Gen. plane tilt</translation>
    </message>
    <message>
        <source>法向弦齿厚</source>
        <translation>Normal chordal thickness</translation>
    </message>
    <message>
        <source>法向弦齿高</source>
        <translation>Normal chordal height</translation>
    </message>
    <message>
        <source>注意：默认计算法则已被修改...</source>
        <translation>Note: the default rules have been changed...</translation>
    </message>
    <message>
        <source>滚刀包围齿数</source>
        <translation>Hob enclosed teeth</translation>
    </message>
    <message>
        <source>滚刀有效长度</source>
        <translation>Hob effective length</translation>
    </message>
    <message>
        <source>滚刀法向弦齿厚</source>
        <translation>Hob norm. chord. thk.</translation>
    </message>
    <message>
        <source>滚刀法向弦齿高</source>
        <translation>Hob norm. chord. height</translation>
    </message>
    <message>
        <source>滚刀齿根圆弧半径</source>
        <translation>Hob root arc radius</translation>
    </message>
    <message>
        <source>滚刀齿顶圆弧半径</source>
        <translation>Hob tip arc radius</translation>
    </message>
    <message>
        <source>滚刀齿顶宽</source>
        <translation>Hob tip width</translation>
    </message>
    <message>
        <source>用户设置没有保存到 %1。
%2</source>
        <translation>The rule set was not saved to %1.
%2</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>磨齿增量：</source>
        <translation>Grinding incr.:</translation>
    </message>
    <message>
        <source>端面模数</source>
        <translation>Transverse module</translation>
    </message>
    <message>
        <source>精度等级</source>
        <translation>Accuracy grade</translation>
    </message>
    <message>
        <source>精度等级：</source>
        <translation>Grade:</translation>
    </message>
    <message>
        <source>系数</source>
        <translation>Coefficient</translation>
    </message>
    <message>
        <source>级(GB/T16445-1996)</source>
        <translation> grade (GB/T16445-1996)</translation>
    </message>
    <message>
        <source>绘图示例</source>
        <translation>Drawing examples</translation>
    </message>
    <message>
        <source>编辑</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>缺少 SQLite 数据库驱动（Qt 的 QSQLITE 插件），无法打开计算法则数据库</source>
        <translation>The SQLite database driver (Qt's QSQLITE plugin) is missing; the rules database cannot be opened</translation>
    </message>
    <message>
        <source>肩台</source>
        <translation>Shoulder</translation>
    </message>
    <message>
        <source>蜗杆喉部导程角</source>
        <translation>Throat lead angle</translation>
    </message>
    <message>
        <source>蜗杆喉部齿根圆直径</source>
        <translation>Throat root diameter</translation>
    </message>
    <message>
        <source>蜗杆头数：</source>
        <translation>Worm starts:</translation>
    </message>
    <message>
        <source>蜗杆工作长度</source>
        <translation>Worm working length</translation>
    </message>
    <message>
        <source>蜗杆最大齿顶圆直径</source>
        <translation>Max. tip diameter</translation>
    </message>
    <message>
        <source>蜗杆齿根圆弧半径</source>
        <translation>Root arc radius</translation>
    </message>
    <message>
        <source>蜗杆齿顶圆弧偏心量</source>
        <translation>Tip arc eccentricity</translation>
    </message>
    <message>
        <source>蜗杆齿顶圆弧半径</source>
        <translation>Tip arc radius</translation>
    </message>
    <message>
        <source>蜗杆齿顶宽</source>
        <translation>Worm tip width</translation>
    </message>
    <message>
        <source>蜗轮分度圆直径</source>
        <translation>Reference diameter</translation>
    </message>
    <message>
        <source>蜗轮喉径</source>
        <translation>Throat diameter</translation>
    </message>
    <message>
        <source>蜗轮最大外径</source>
        <translation>Max. outer diameter</translation>
    </message>
    <message>
        <source>蜗轮法向弦齿厚</source>
        <translation>Norm. chord. thk.</translation>
    </message>
    <message>
        <source>蜗轮法向弦齿高</source>
        <translation>Norm. chord. height</translation>
    </message>
    <message>
        <source>蜗轮齿数：</source>
        <translation>Wheel teeth:</translation>
    </message>
    <message>
        <source>蜗轮齿顶圆弧半径</source>
        <translation>Tip arc radius</translation>
    </message>
    <message>
        <source>计   算</source>
        <translation>Calculate</translation>
    </message>
    <message>
        <source>计算</source>
        <translation>Calculate</translation>
    </message>
    <message>
        <source>计算法则</source>
        <translation>Rules</translation>
    </message>
    <message>
        <source>计算法则参数设置</source>
        <translation>Rule coefficients</translation>
    </message>
    <message>
        <source>计算法则数据库 %1 不存在</source>
        <translation>The rules database %1 does not exist</translation>
    </message>
    <message>
        <source>计算法则数据库没有打开</source>
        <translation>The rules database is not open</translation>
    </message>
    <message>
        <source>计算设置</source>
        <translation>Rule settings</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>设计手册</source>
        <translation>Design manual</translation>
    </message>
    <message>
        <source>读取文件 %1 时出错：%2</source>
        <translation>Error while reading the file %1: %2</translation>
    </message>
    <message>
        <source>输入参数不正确......（速比=齿数/头数）</source>
        <translation>The input is not consistent...... (ratio = teeth / starts)</translation>
    </message>
    <message>
        <source>输入参数有误，请输入合法有效的数字.........</source>
        <translation>The input is wrong; please enter valid numbers.........</translation>
    </message>
    <message>
        <source>还原默认设置</source>
        <translation>Restore default rules</translation>
    </message>
    <message>
        <source>还原默认设置失败，当前的计算法则没有改变。
%1</source>
        <translation>The default rules could not be restored; the rules in force are unchanged.
%1</translation>
    </message>
    <message>
        <source>连接字符串中没有指明计算法则数据库</source>
        <translation>The connection string names no rules database</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>默认值</source>
        <translation>Default</translation>
    </message>
    <message>
        <source>齿圈工作宽度</source>
        <translation>Rim working width</translation>
    </message>
    <message>
        <source>齿顶偏心：</source>
        <translation>Tip eccentr.:</translation>
    </message>
</context>
</TS>
