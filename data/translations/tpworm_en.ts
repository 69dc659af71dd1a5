<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>tpworm</name>
    <message>
        <source>
八、计算法则数据库
</source>
        <translation>
8. Rules database
</translation>
    </message>
    <message>
        <source>
文件记录的计算法则来源：</source>
        <translation>
Rules source recorded in the file: </translation>
    </message>
    <message>
        <source>     有更新的版本，请及时更新。。。</source>
        <translation>     A newer version is available; please update.</translation>
    </message>
    <message>
        <source>    来源覆盖的%1：%2</source>
        <translation>    Range its source covers, %1: %2</translation>
    </message>
    <message>
        <source>    来源：%1</source>
        <translation>    Source: %1</translation>
    </message>
    <message>
        <source>    （仍为随程序提供的参考值）</source>
        <translation>    (still the reference values shipped with the program)</translation>
    </message>
    <message>
        <source>  %1，%2 行%3</source>
        <translation>  %1, %2 rows%3</translation>
    </message>
    <message>
        <source>  %1：%2（%3）</source>
        <translation>  %1: %2 (%3)</translation>
    </message>
    <message>
        <source>  %1：来源未记录</source>
        <translation>  %1: source not recorded</translation>
    </message>
    <message>
        <source>  参数设置  </source>
        <translation>  Coefficients  </translation>
    </message>
    <message>
        <source>  无法读取：%1</source>
        <translation>  Cannot read: %1</translation>
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
        <source>  设计报告</source>
        <translation>  Design report</translation>
    </message>
    <message>
        <source> 一般型传动修形参数   </source>
        <translation> Modification (general type)   </translation>
    </message>
    <message>
        <source> 为随程序提供的参考值</source>
        <translation> are reference values shipped with the program</translation>
    </message>
    <message>
        <source> 传动特性  </source>
        <translation> Drive  </translation>
    </message>
    <message>
        <source> 工况 </source>
        <translation> Duty </translation>
    </message>
    <message>
        <source> 推荐参数  </source>
        <translation> Recommended parameters  </translation>
    </message>
    <message>
        <source> 来源未记录</source>
        <translation> Source not recorded</translation>
    </message>
    <message>
        <source> 校核结果 </source>
        <translation> Check results </translation>
    </message>
    <message>
        <source> 没有材料配对的代号</source>
        <translation> has no material-pair key</translation>
    </message>
    <message>
        <source> 的滑动速度不大于材料配对 %1 的上一行：每种材料配对的行须按滑动速度递增</source>
        <translation> : the sliding speed is not above the previous row of material pair %1; the rows of each pair must ascend in sliding speed</translation>
    </message>
    <message>
        <source>%1 不是可导入导出的数据表；可用的有：%2</source>
        <translation>%1 is not a table that can be imported or exported; available: %2</translation>
    </message>
    <message>
        <source>%1 大于 (%2)</source>
        <translation>%1 above (%2)</translation>
    </message>
    <message>
        <source>%1 来源“%2”（%3）</source>
        <translation>%1 source "%2" (%3)</translation>
    </message>
    <message>
        <source>%1 第 %2 列的值必须大于 0</source>
        <translation>%1, column %2: the value must be greater than 0</translation>
    </message>
    <message>
        <source>%1 至 (%2)</source>
        <translation>%1 up to (%2)</translation>
    </message>
    <message>
        <source>%1-%2  %3  规则数据为参考值</source>
        <translation>%1-%2  %3  rules data are reference values</translation>
    </message>
    <message>
        <source>%1-%2-设计报告.pdf</source>
        <translation>%1-%2-design report.pdf</translation>
    </message>
    <message>
        <source>%1（%2）</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>%1（留空：不限；超出时主窗口提示）</source>
        <translation>%1 (empty: no limit; the main window warns beyond it)</translation>
    </message>
    <message>
        <source>%1：%2（窗口中以红色标出）</source>
        <translation>%1: %2 (marked red in the window)</translation>
    </message>
    <message>
        <source>%1：“%2”不是合法数字</source>
        <translation>%1: "%2" is not a valid number</translation>
    </message>
    <message>
        <source>%1：“%2”超出数值范围</source>
        <translation>%1: "%2" is out of range</translation>
    </message>
    <message>
        <source>%1：不能为空</source>
        <translation>%1: must not be empty</translation>
    </message>
    <message>
        <source>%1：不能大于 1（现为 %2）</source>
        <translation>%1: must not exceed 1 (now %2)</translation>
    </message>
    <message>
        <source>%1：低于绝对零度（现为 %2 °C）</source>
        <translation>%1: below absolute zero (now %2 °C)</translation>
    </message>
    <message>
        <source>%1：必须大于 0（现为 %2）</source>
        <translation>%1: must be greater than 0 (now %2)</translation>
    </message>
    <message>
        <source>%1：必须高于环境温度 ta（现为 %2 °C，ta = %3 °C）</source>
        <translation>%1: must be above the ambient temperature ta (now %2 °C, ta = %3 °C)</translation>
    </message>
    <message>
        <source>%1：请选择材料配对，或直接输入摩擦系数</source>
        <translation>%1: choose a material pair, or type the friction coefficient</translation>
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
        <source>0（自锁）</source>
        <translation>0 (self-locking)</translation>
    </message>
    <message>
        <source>1. 滚刀齿形按配对蜗杆的母平面参数加工，包围齿数 %1。</source>
        <translation>1. Hob profile from the generating plane of the mating worm; enclosed teeth %1.</translation>
    </message>
    <message>
        <source>1. 轮缘与轮芯过盈配合后精车；轮辐、轮毂为参考结构尺寸。</source>
        <translation>1. Rim finish-turned after the interference fit on the centre; web and hub are reference dimensions.</translation>
    </message>
    <message>
        <source>1. 齿面按修形参数磨削（磨齿增量 Δz=%1），表面粗糙度 Ra 0.8。</source>
        <translation>1. Flanks ground with the modification (grinding increment Δz=%1), roughness Ra 0.8.</translation>
    </message>
    <message>
        <source>2. 刀体齿顶圆弧半径 %1，齿根圆弧半径 %2，有效长度 %3。</source>
        <translation>2. Hob tip arc radius %1, root arc radius %2, effective length %3.</translation>
    </message>
    <message>
        <source>2. 轮齿用配对滚刀（刀体齿顶圆弧半径 %1，有效长度 %2）滚切。</source>
        <translation>2. Teeth hobbed with the mating hob (tip arc radius %1, effective length %2).</translation>
    </message>
    <message>
        <source>2. 齿顶两端按入口修缘 %1、出口修缘 %2 修缘。</source>
        <translation>2. Tip relief at both ends: entry %1, exit %2.</translation>
    </message>
    <message>
        <source>3. 中间平面位置按中心距 %1 检查。</source>
        <translation>3. Check the mid-plane position at centre distance %1.</translation>
    </message>
    <message>
        <source>3. 轴台、内孔与键槽为参考结构尺寸，按滚齿机刀杆确定。</source>
        <translation>3. Shoulders, bore and keyway are reference dimensions, set by the hobbing machine arbor.</translation>
    </message>
    <message>
        <source>3. 轴颈、轴伸与键槽为参考结构尺寸，按减速器结构确定。</source>
        <translation>3. Journals, shaft end and keyway are reference dimensions, set by the gearbox design.</translation>
    </message>
    <message>
        <source>4. 材料与热处理为参考选择，按设计要求确定。</source>
        <translation>4. Material and heat treatment are reference choices; set them by the design requirements.</translation>
    </message>
    <message>
        <source>42CrMo（参考）</source>
        <translation>42CrMo (reference)</translation>
    </message>
    <message>
        <source>6 级精度公差与标准侧隙</source>
        <translation>Grade 6 tolerances and standard backlash</translation>
    </message>
    <message>
        <source>7 级精度公差与标准侧隙</source>
        <translation>Grade 7 tolerances and standard backlash</translation>
    </message>
    <message>
        <source>7级(GB/T16445-1996)</source>
        <translation>Grade 7 (GB/T16445-1996)</translation>
    </message>
    <message>
        <source>8 级精度公差与标准侧隙</source>
        <translation>Grade 8 tolerances and standard backlash</translation>
    </message>
    <message>
        <source>&lt;b&gt;警告&lt;/b&gt;</source>
        <translation>&lt;b&gt;Warning&lt;/b&gt;</translation>
    </message>
    <message>
        <source>&lt;h1 align="center"&gt;设计报告&lt;/h1&gt;</source>
        <translation>&lt;h1 align="center"&gt;Design report&lt;/h1&gt;</translation>
    </message>
    <message>
        <source>&lt;h2&gt;1 传动参数&lt;/h2&gt;</source>
        <translation>&lt;h2&gt;1 Drive data&lt;/h2&gt;</translation>
    </message>
    <message>
        <source>&lt;h2&gt;2 精度等级与公差&lt;/h2&gt;</source>
        <translation>&lt;h2&gt;2 Accuracy grade and tolerances&lt;/h2&gt;</translation>
    </message>
    <message>
        <source>&lt;h2&gt;3 推荐参数（计算所用）&lt;/h2&gt;</source>
        <translation>&lt;h2&gt;3 Recommended parameters (as used)&lt;/h2&gt;</translation>
    </message>
    <message>
        <source>&lt;h2&gt;4 计算结果&lt;/h2&gt;&lt;p&gt;各项结果与主窗口显示的文字相同。&lt;/p&gt;</source>
        <translation>&lt;h2&gt;4 Results&lt;/h2&gt;&lt;p&gt;Every result reads as the main window shows it.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>&lt;h2&gt;5 警告&lt;/h2&gt;</source>
        <translation>&lt;h2&gt;5 Warnings&lt;/h2&gt;</translation>
    </message>
    <message>
        <source>&lt;h2&gt;6 计算法则&lt;/h2&gt;</source>
        <translation>&lt;h2&gt;6 Calculation rules&lt;/h2&gt;</translation>
    </message>
    <message>
        <source>&lt;h2&gt;7 传动校核&lt;/h2&gt;</source>
        <translation>&lt;h2&gt;7 Drive check&lt;/h2&gt;</translation>
    </message>
    <message>
        <source>&lt;h2&gt;8 图纸&lt;/h2&gt;&lt;p&gt;蜗杆、蜗轮和滚刀工作图见以下各页（图中比例为图纸原尺寸的比例，页面按需缩小）。&lt;/p&gt;</source>
        <translation>&lt;h2&gt;8 Drawings&lt;/h2&gt;&lt;p&gt;The worm, wheel and hob drawings follow on the next pages (the scales are those of the full-size sheets; pages are reduced as needed).&lt;/p&gt;</translation>
    </message>
    <message>
        <source>&lt;li&gt;&lt;b&gt;警告&lt;/b&gt;：%1&lt;/li&gt;</source>
        <translation>&lt;li&gt;&lt;b&gt;Warning&lt;/b&gt;: %1&lt;/li&gt;</translation>
    </message>
    <message>
        <source>&lt;p align="center"&gt;%1 V%2　生成日期 %3&lt;/p&gt;</source>
        <translation>&lt;p align="center"&gt;%1 V%2　generated %3&lt;/p&gt;</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;b&gt;警告&lt;/b&gt;：此工况不能校核，本报告不含校核结果：%1&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;b&gt;Warning&lt;/b&gt;: this duty cannot be checked; the report carries no check results: %1&lt;/p&gt;</translation>
    </message>
    <message>
        <source>&lt;p&gt;传动校核的警告：&lt;/p&gt;&lt;ul&gt;</source>
        <translation>&lt;p&gt;Warnings of the drive check:&lt;/p&gt;&lt;ul&gt;</translation>
    </message>
    <message>
        <source>&lt;p&gt;使用系数由规则数据库的额定功率表 rated_power 得出，该表来源：%1&lt;/p&gt;</source>
        <translation>&lt;p&gt;The service factor comes from the rules database's rated-power table rated_power, whose source is: %1&lt;/p&gt;</translation>
    </message>
    <message>
        <source>&lt;p&gt;工况（按输入的文字）：&lt;/p&gt;</source>
        <translation>&lt;p&gt;Duty (as typed):&lt;/p&gt;</translation>
    </message>
    <message>
        <source>&lt;p&gt;所选精度等级与中心距所在行的公差（规则数据库公差表的列号在括号中）：&lt;/p&gt;</source>
        <translation>&lt;p&gt;Tolerances of the row of the chosen grade and centre distance (column numbers of the grade table in brackets):&lt;/p&gt;</translation>
    </message>
    <message>
        <source>&lt;p&gt;摩擦系数 μ 为输入值，未查摩擦系数表。&lt;/p&gt;</source>
        <translation>&lt;p&gt;The friction coefficient μ was typed; the friction table was not used.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>&lt;p&gt;摩擦系数 μ 按滑动速度查规则数据库的摩擦系数表 friction（材料配对 %1），该表来源：%2&lt;/p&gt;</source>
        <translation>&lt;p&gt;The friction coefficient μ is read against the sliding speed from the rules database's friction table friction (material pair %1), whose source is: %2&lt;/p&gt;</translation>
    </message>
    <message>
        <source>&lt;p&gt;无。&lt;/p&gt;</source>
        <translation>&lt;p&gt;None.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>&lt;p&gt;未给出工况，因此本报告不含传动校核。&lt;/p&gt;</source>
        <translation>&lt;p&gt;No duty was given, so this report contains no drive check.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>&lt;p&gt;本程序尚未提供传动校核，本报告不含此项。&lt;/p&gt;</source>
        <translation>&lt;p&gt;The program does not yet put the drive check into this report.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>&lt;p&gt;校核结果（与“传动校核”窗口相同的关系和位数；关系及其来源见技术手册）：&lt;/p&gt;</source>
        <translation>&lt;p&gt;Results (the relations and decimals of the "Drive check" window; the relations and their sources are in the technical manual):&lt;/p&gt;</translation>
    </message>
    <message>
        <source>&lt;p&gt;规则数据库：%1&lt;/p&gt;</source>
        <translation>&lt;p&gt;Rules database: %1&lt;/p&gt;</translation>
    </message>
    <message>
        <source>&lt;p&gt;计算所用的计算法则系数：&lt;/p&gt;</source>
        <translation>&lt;p&gt;Rule coefficients used:&lt;/p&gt;</translation>
    </message>
    <message>
        <source>CSV 文件 (*.csv)|*.csv</source>
        <translation>CSV files (*.csv)|*.csv</translation>
    </message>
    <message>
        <source>DXF 文件 (*.dxf)|*.dxf</source>
        <translation>DXF files (*.dxf)|*.dxf</translation>
    </message>
    <message>
        <source>N[%1]：文件中 %2，当前 %3</source>
        <translation>N[%1]: file %2, now %3</translation>
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
        <source>P1：</source>
        <translation>P1:</translation>
    </message>
    <message>
        <source>PDF 文件 (*.pdf)|*.pdf</source>
        <translation>PDF files (*.pdf)|*.pdf</translation>
    </message>
    <message>
        <source>STEP 文件 (*.step)|*.step</source>
        <translation>STEP files (*.step)|*.step</translation>
    </message>
    <message>
        <source>SVG 文件 (*.svg)|*.svg</source>
        <translation>SVG files (*.svg)|*.svg</translation>
    </message>
    <message>
        <source>S（m²）</source>
        <translation>S (m²)</translation>
    </message>
    <message>
        <source>S（m²，估算）</source>
        <translation>S (m², estimated)</translation>
    </message>
    <message>
        <source>S（m²，输入值）</source>
        <translation>S (m², typed)</translation>
    </message>
    <message>
        <source>T2（N·m）</source>
        <translation>T2 (N·m)</translation>
    </message>
    <message>
        <source>W6Mo5Cr4V2（参考）</source>
        <translation>W6Mo5Cr4V2 (reference)</translation>
    </message>
    <message>
        <source>ZCuSn10P1/HT250（参考）</source>
        <translation>ZCuSn10P1/HT250 (reference)</translation>
    </message>
    <message>
        <source>[传动校核]
</source>
        <translation>[Drive check]
</translation>
    </message>
    <message>
        <source>n1：</source>
        <translation>n1:</translation>
    </message>
    <message>
        <source>ta：</source>
        <translation>ta:</translation>
    </message>
    <message>
        <source>tlim：</source>
        <translation>tlim:</translation>
    </message>
    <message>
        <source>tpworm-cli: 文件 %1 不能导入数据表 %2，计算法则数据库没有改变（行号从标题行的下一行数起）：</source>
        <translation>tpworm-cli: the file %1 cannot be imported into table %2; the rules database is unchanged (rows counted from the line after the header)</translation>
    </message>
    <message>
        <source>tpworm-cli: 表格没有导出：%1</source>
        <translation>tpworm-cli: the table was not exported: %1</translation>
    </message>
    <message>
        <source>ηo 为假设值（默认 0.96），可按实际修改</source>
        <translation>ηo is an assumption (default 0.96); change it to suit</translation>
    </message>
    <message>
        <source>μ = %1（输入值）</source>
        <translation>μ = %1 (typed)</translation>
    </message>
    <message>
        <source>μ：</source>
        <translation>μ:</translation>
    </message>
    <message>
        <source>“%1”不是数字</source>
        <translation>"%1" is not a number</translation>
    </message>
    <message>
        <source>“%1”须写成不带正负号的数值（参数表在数值前加符号）</source>
        <translation>"%1" must be written without a sign (the tables put the sign in front)</translation>
    </message>
    <message>
        <source>↑基础值：</source>
        <translation>↑basis: </translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
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
        <source>三维模型</source>
        <translation>3D Model</translation>
    </message>
    <message>
        <source>三维模型写入失败，原有文件未改动：%1</source>
        <translation>The 3D model could not be written; the existing file is unchanged: %1</translation>
    </message>
    <message>
        <source>三维模型已写入。以下尺寸不是设计计算值，是本程序为显示完整零件所取的参考值：%1</source>
        <translation>The 3D model has been written. These sizes are not calculated from the design; they are reference values this program chose to show the whole part: %1</translation>
    </message>
    <message>
        <source>三维模型需要 OpenCASCADE：本程序编译时未带 OpenCASCADE，无法生成 STEP 文件。</source>
        <translation>3D models need OpenCASCADE: this program was built without OpenCASCADE and cannot write STEP files.</translation>
    </message>
    <message>
        <source>上限 %1 须大于上一行的上限 %2（各行按上限由小到大排列）</source>
        <translation>Upper bound %1 must exceed the previous row's upper bound %2 (rows in ascending order)</translation>
    </message>
    <message>
        <source>下列计算法则表仍是随程序提供的参考值，不是标准表中的数值：</source>
        <translation>These rules tables are still the reference values shipped with the program, not values of the standard:</translation>
    </message>
    <message>
        <source>下列计算法则表没有记录来源：</source>
        <translation>These rules tables have no recorded source:</translation>
    </message>
    <message>
        <source>下限 %1 须小于本行的上限 %2</source>
        <translation>Lower bound %1 must be below this row's upper bound %2</translation>
    </message>
    <message>
        <source>下限 %1 须等于上一行的上限 %2，范围之间不能有空档或重叠</source>
        <translation>Lower bound %1 must equal the previous row's upper bound %2: no gaps or overlaps between ranges</translation>
    </message>
    <message>
        <source>不合格</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>不合格（to &gt; %1 °C）</source>
        <translation>Failed (to &gt; %1 °C)</translation>
    </message>
    <message>
        <source>不能为空</source>
        <translation>Must not be empty</translation>
    </message>
    <message>
        <source>不能为空，须填数字</source>
        <translation>Must not be empty; enter a number</translation>
    </message>
    <message>
        <source>不限</source>
        <translation>No limit</translation>
    </message>
    <message>
        <source>中  心  距：</source>
        <translation>Centre dist.:</translation>
    </message>
    <message>
        <source>中心距</source>
        <translation>Centre distance</translation>
    </message>
    <message>
        <source>中心距 %1 mm 在精度表 %2的来源所覆盖的范围（%3）以外：
%4
所显示的公差与标准侧隙是表中的数值，来源并未给出，请自行核定。计算照常进行。</source>
        <translation>Centre distance %1 mm lies outside the range covered by the source of grade table %2 (%3):
%4
The tolerances and standard backlash shown are the table's values, which its source does not give; check them yourself. The calculation runs as usual.</translation>
    </message>
    <message>
        <source>中心距 %1 超出本设计方法的适用范围（70 mm ＜ a ＜ 1500 mm），结果仅供参考</source>
        <translation>Centre distance %1 is outside the range of this design method (70 mm &lt; a &lt; 1500 mm); the results are for reference only</translation>
    </message>
    <message>
        <source>中心距 a，单位 mm</source>
        <translation>Centre distance a, mm</translation>
    </message>
    <message>
        <source>中心距 大于 (mm)</source>
        <translation>Centre distance above (mm)</translation>
    </message>
    <message>
        <source>中心距 至 (mm)</source>
        <translation>Centre distance up to (mm)</translation>
    </message>
    <message>
        <source>中心距极限偏差 ±fa (mm)</source>
        <translation>Centre distance deviation ±fa (mm)</translation>
    </message>
    <message>
        <source>主  基  圆：</source>
        <translation>Main base:</translation>
    </message>
    <message>
        <source>主基圆 Ø%1，母平面倾斜角 β=%2°</source>
        <translation>Main base circle Ø%1, generating-plane tilt β=%2°</translation>
    </message>
    <message>
        <source>主基圆直径</source>
        <translation>Main base diameter</translation>
    </message>
    <message>
        <source>主基圆直径 db，单位 mm</source>
        <translation>Main base diameter db, mm</translation>
    </message>
    <message>
        <source>主基圆直径为负（%1），几何关系不成立</source>
        <translation>The main base diameter is negative (%1): the geometry does not hold</translation>
    </message>
    <message>
        <source>主基圆直径，单位 mm</source>
        <translation>Main base diameter, mm</translation>
    </message>
    <message>
        <source>代号</source>
        <translation>Key</translation>
    </message>
    <message>
        <source>传动校核</source>
        <translation>Drive check</translation>
    </message>
    <message>
        <source>传动校核的计算溢出或无意义（请检查输入数值的大小）</source>
        <translation>The drive check overflowed or has no meaning (check the size of the inputs)</translation>
    </message>
    <message>
        <source>传动比 i = %1 在额定功率表（a = %2 mm）的 %3～%4 之外</source>
        <translation>Ratio i = %1 lies outside %3–%4 of the rated-power table (a = %2 mm)</translation>
    </message>
    <message>
        <source>传动精度</source>
        <translation>Drive accuracy</translation>
    </message>
    <message>
        <source>使用系数 P额定/P1</source>
        <translation>Service factor P_rated/P1</translation>
    </message>
    <message>
        <source>使用系数 P额定/P1 = %1 小于 1：额定功率表给出的额定输入功率低于 P1</source>
        <translation>Service factor P_rated/P1 = %1 is below 1: the rated input power of the table is below P1</translation>
    </message>
    <message>
        <source>侧         隙：</source>
        <translation>Backlash:</translation>
    </message>
    <message>
        <source>侧隙 j，单位 mm</source>
        <translation>Backlash j, mm</translation>
    </message>
    <message>
        <source>侧隙为负（%1），齿侧将发生干涉</source>
        <translation>The backlash is negative (%1): the flanks will interfere</translation>
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
        <source>保存表格</source>
        <translation>Save table</translation>
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
        <source>修形中心距，单位 mm</source>
        <translation>Modified centre distance, mm</translation>
    </message>
    <message>
        <source>修形主基圆直径</source>
        <translation>Mod. main base dia.</translation>
    </message>
    <message>
        <source>修形主基圆直径，单位 mm</source>
        <translation>Modified main base diameter, mm</translation>
    </message>
    <message>
        <source>修形传动比</source>
        <translation>Modified ratio</translation>
    </message>
    <message>
        <source>修形传动比，无单位</source>
        <translation>Modified ratio, no unit</translation>
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
        <source>修形母面倾斜角，单位 °</source>
        <translation>Modified generating-plane tilt, °</translation>
    </message>
    <message>
        <source>修改于 %1%2</source>
        <translation>Changed %1%2</translation>
    </message>
    <message>
        <source>修缘长度</source>
        <translation>Relief length</translation>
    </message>
    <message>
        <source>偏差</source>
        <translation>Deviation</translation>
    </message>
    <message>
        <source>允许油温 tlim</source>
        <translation>Oil limit tlim</translation>
    </message>
    <message>
        <source>允许油温 tlim：</source>
        <translation>Oil limit tlim:</translation>
    </message>
    <message>
        <source>入口修缘量</source>
        <translation>Entry relief</translation>
    </message>
    <message>
        <source>入口修缘量 (mm) 速比 25～40</source>
        <translation>Entry relief (mm), ratio 25–40</translation>
    </message>
    <message>
        <source>入口修缘量 (mm) 速比 40～63</source>
        <translation>Entry relief (mm), ratio 40–63</translation>
    </message>
    <message>
        <source>入口修缘量 (mm) 速比 &lt; 25</source>
        <translation>Entry relief (mm), ratio &lt; 25</translation>
    </message>
    <message>
        <source>入口修缘量 (mm) 速比 &gt; 63</source>
        <translation>Entry relief (mm), ratio &gt; 63</translation>
    </message>
    <message>
        <source>入口修缘长度（文字，如 7°）</source>
        <translation>Entry relief length (text, e.g. 7°)</translation>
    </message>
    <message>
        <source>入口修缘：</source>
        <translation>Entry relief:</translation>
    </message>
    <message>
        <source>入口修缘：修缘量（mm） * 修缘长度（°）</source>
        <translation>Entry relief: amount (mm) * length (°)</translation>
    </message>
    <message>
        <source>共 1 张</source>
        <translation>1 sheet</translation>
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
        <source>凸肩直径 %1 mm</source>
        <translation>shoulder diameter %1 mm</translation>
    </message>
    <message>
        <source>出口修缘长度（文字，如 5°）</source>
        <translation>Exit relief length (text, e.g. 5°)</translation>
    </message>
    <message>
        <source>出口修缘：</source>
        <translation>Exit relief:</translation>
    </message>
    <message>
        <source>出口修缘：修缘量（mm） * 修缘长度（°）</source>
        <translation>Exit relief: amount (mm) * length (°)</translation>
    </message>
    <message>
        <source>分度圆齿形角</source>
        <translation>Profile angle</translation>
    </message>
    <message>
        <source>分度圆齿形角，单位 °</source>
        <translation>Profile angle, °</translation>
    </message>
    <message>
        <source>列 %1</source>
        <translation>Column %1</translation>
    </message>
    <message>
        <source>删除行</source>
        <translation>Delete row</translation>
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
        <source>包围齿数，单位 齿</source>
        <translation>Enclosed teeth, teeth</translation>
    </message>
    <message>
        <source>升级程序错误，请重新安装软件....</source>
        <translation>The upgrade program failed; please reinstall the software....</translation>
    </message>
    <message>
        <source>单位</source>
        <translation>Unit</translation>
    </message>
    <message>
        <source>参数输入不合法，请输入合法参数.........</source>
        <translation>Invalid input; please enter valid parameters.........</translation>
    </message>
    <message>
        <source>发热功率 H</source>
        <translation>Heat loss H</translation>
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
        <source>另存为CSV</source>
        <translation>Save as CSV</translation>
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
        <source>各方案均取“传动校核”窗口中输入的箱体散热面积 S = %1 m²</source>
        <translation>Every candidate uses the housing surface typed in the "Drive check" window, S = %1 m²</translation>
    </message>
    <message>
        <source>各方案按自己的中心距估算 S = 9×10⁻⁵·a^1.85 m²（估算值，无散热片的箱体）；在“传动校核”窗口中输入 S 则各方案均取该值</source>
        <translation>Each candidate's S is estimated from its own centre distance, S = 9×10⁻⁵·a^1.85 m² (an estimate, plain housing without fins); an S typed in the "Drive check" window holds for every candidate</translation>
    </message>
    <message>
        <source>合格</source>
        <translation>Passed</translation>
    </message>
    <message>
        <source>合格（to ≤ %1 °C）</source>
        <translation>Passed (to ≤ %1 °C)</translation>
    </message>
    <message>
        <source>名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>名称（空：零件名）</source>
        <translation>Name (empty: the part's name)</translation>
    </message>
    <message>
        <source>否</source>
        <translation>No</translation>
    </message>
    <message>
        <source>啮合效率 ηm</source>
        <translation>Mesh efficiency ηm</translation>
    </message>
    <message>
        <source>图号</source>
        <translation>Drawing no.</translation>
    </message>
    <message>
        <source>图号（空：TP中心距-速比-序号）</source>
        <translation>Drawing no. (empty: TP centre distance-ratio-no.)</translation>
    </message>
    <message>
        <source>图纸</source>
        <translation>Drawings</translation>
    </message>
    <message>
        <source>图纸文件写入失败，原有文件未改动：%1</source>
        <translation>The drawing could not be written; the old file is unchanged: %1</translation>
    </message>
    <message>
        <source>在线升级</source>
        <translation>Online upgrade</translation>
    </message>
    <message>
        <source>增加行</source>
        <translation>Add row</translation>
    </message>
    <message>
        <source>大于 %1 %2</source>
        <translation>above %1 %2</translation>
    </message>
    <message>
        <source>头数</source>
        <translation>Starts</translation>
    </message>
    <message>
        <source>实际速比 i = 蜗轮齿数 ÷ 蜗杆头数，无单位</source>
        <translation>Ratio i = wheel teeth ÷ worm starts, no unit</translation>
    </message>
    <message>
        <source>实际速比：</source>
        <translation>Ratio:</translation>
    </message>
    <message>
        <source>审核</source>
        <translation>Checked</translation>
    </message>
    <message>
        <source>导入 CSV…</source>
        <translation>Import CSV…</translation>
    </message>
    <message>
        <source>导出 CSV…</source>
        <translation>Export CSV…</translation>
    </message>
    <message>
        <source>导出 DXF...</source>
        <translation>Export DXF...</translation>
    </message>
    <message>
        <source>导出 PDF...</source>
        <translation>Export PDF...</translation>
    </message>
    <message>
        <source>导出 SVG...</source>
        <translation>Export SVG...</translation>
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
        <source>工作半包角，单位 °</source>
        <translation>Working half angle, °</translation>
    </message>
    <message>
        <source>工况有误，表中未列校核结果：%1</source>
        <translation>The duty is not valid; the table shows no check results: %1</translation>
    </message>
    <message>
        <source>工况：P1 = %1 kW，n1 = %2 r/min，%3，ta = %4 °C，tlim = %5 °C，αs = %6 W/(m²·°C)，ηo = %7。</source>
        <translation>Duty: P1 = %1 kW, n1 = %2 r/min, %3, ta = %4 °C, tlim = %5 °C, αs = %6 W/(m²·°C), ηo = %7. </translation>
    </message>
    <message>
        <source>已从 %1 读入 %2 行；请写明来源，按“保存表格”后写入数据库。</source>
        <translation>Read %2 rows from %1; name their source and press "Save table" to write them to the database.</translation>
    </message>
    <message>
        <source>已把 %1 行导入数据表 %2（%3）</source>
        <translation>Imported %1 rows into table %2 (%3)</translation>
    </message>
    <message>
        <source>帮助</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>平面二次包络环面蜗杆</source>
        <translation>Planar double-enveloping toroidal worm</translation>
    </message>
    <message>
        <source>平面二次包络环面蜗杆传动设计系统</source>
        <translation>Planar double-enveloping toroidal worm gear design</translation>
    </message>
    <message>
        <source>平面二次包络环面蜗轮</source>
        <translation>Planar double-enveloping toroidal worm wheel</translation>
    </message>
    <message>
        <source>平面二次包络环面蜗轮滚刀</source>
        <translation>Hob for the planar double-enveloping worm wheel</translation>
    </message>
    <message>
        <source>序号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>强度（承载能力）未计算：规则数据库的额定功率表 rated_power 没有数据。</source>
        <translation>Strength (load capacity) not computed: the rules database's rated-power table rated_power holds no data.</translation>
    </message>
    <message>
        <source>当量摩擦角 ρ'</source>
        <translation>Equivalent friction angle ρ'</translation>
    </message>
    <message>
        <source>径向力 Fr</source>
        <translation>Radial force Fr</translation>
    </message>
    <message>
        <source>总效率 η</source>
        <translation>Total efficiency η</translation>
    </message>
    <message>
        <source>总效率 η = ηm·ηo</source>
        <translation>Total efficiency η = ηm·ηo</translation>
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
        <source>所需散热面积 Sreq</source>
        <translation>Required surface Sreq</translation>
    </message>
    <message>
        <source>打印...</source>
        <translation>Print...</translation>
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
        <source>技术要求</source>
        <translation>Technical requirements</translation>
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
        <source>推荐参数正在编辑，下方结果已过期：按“确定”重新计算后才能保存和导出。</source>
        <translation>Recommended parameters being edited; the results below are out of date: press "OK" to calculate again before saving or exporting.</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>摩擦系数</source>
        <translation>Friction coefficient</translation>
    </message>
    <message>
        <source>摩擦系数 μ</source>
        <translation>Friction coefficient μ</translation>
    </message>
    <message>
        <source>摩擦系数 μ：</source>
        <translation>Friction coefficient μ:</translation>
    </message>
    <message>
        <source>摩擦系数表中材料配对 %1 没有数据</source>
        <translation>The friction table has no data for material pair %1</translation>
    </message>
    <message>
        <source>摩擦角 ρ' = %1° 与导程角 γ 之和达到 90°，摩擦系数 μ = %2 过大</source>
        <translation>The friction angle ρ' = %1° and the lead angle γ reach 90° together; the friction coefficient μ = %2 is too large</translation>
    </message>
    <message>
        <source>效率 η</source>
        <translation>Efficiency η</translation>
    </message>
    <message>
        <source>散热系数 αs</source>
        <translation>Heat transfer αs</translation>
    </message>
    <message>
        <source>散热系数 αs：</source>
        <translation>Heat transfer αs:</translation>
    </message>
    <message>
        <source>数值</source>
        <translation>Value</translation>
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
        <source>数据库中的列名：%1</source>
        <translation>Column names in the database: %1</translation>
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
        <source>数据表 %1 已导出到 %2</source>
        <translation>Table %1 exported to %2</translation>
    </message>
    <message>
        <source>数据表 %1 无法读取：%2</source>
        <translation>Table %1 cannot be read: %2</translation>
    </message>
    <message>
        <source>数据表 %1 有 %2 处问题，没有保存；问题列在表格页下方，改正后再保存。</source>
        <translation>Table %1 has %2 problems and was not saved; they are listed below the table; mend them and save again.</translation>
    </message>
    <message>
        <source>数据表 %1 没有写入：%2</source>
        <translation>Table %1 was not written: %2</translation>
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
        <source>数据表 %1 的 %2 行已导出到 %3</source>
        <translation>%2 rows of table %1 exported to %3</translation>
    </message>
    <message>
        <source>数据表 %1 的修改尚未保存，是否放弃这些修改？</source>
        <translation>The changes to table %1 are not saved. Discard them?</translation>
    </message>
    <message>
        <source>数据表 %1 第 %2 行</source>
        <translation>Table %1, row %2</translation>
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
        <source>数据表：</source>
        <translation>Table:</translation>
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
        <source>文件 %1 有 %2 处问题，没有读入；问题列在表格页下方，行号从标题行的下一行数起。</source>
        <translation>The file %1 has %2 problems and was not read; they are listed below the table, rows counted from the line after the header.</translation>
    </message>
    <message>
        <source>文件 %1 有 %2 字节，超过表格文件的上限 %3 字节，不是本程序的表格文件</source>
        <translation>The file %1 has %2 bytes, more than the limit of %3 bytes for a table file; it is not a table file of this program</translation>
    </message>
    <message>
        <source>文件不是计算法则数据库：%1</source>
        <translation>The file is not a rules database: %1</translation>
    </message>
    <message>
        <source>文件保存失败：</source>
        <translation>The file could not be saved: </translation>
    </message>
    <message>
        <source>文件只有标题行，没有数据行</source>
        <translation>The file has a header line only, no data rows</translation>
    </message>
    <message>
        <source>文件含有空字符，不是文本文件</source>
        <translation>The file holds a NUL character; it is not a text file</translation>
    </message>
    <message>
        <source>文件打开错误,或者您还没安装EXCEL.........</source>
        <translation>The file could not be opened (an error occurred, or the spreadsheet program is not installed).........</translation>
    </message>
    <message>
        <source>文件是空的，须有标题行和数据行</source>
        <translation>The file is empty; it needs a header line and data rows</translation>
    </message>
    <message>
        <source>文件第 %1 行不是 UTF-8 编码的文字；请以 UTF-8 编码保存 CSV 文件</source>
        <translation>Line %1 of the file is not UTF-8 text; save the CSV file as UTF-8</translation>
    </message>
    <message>
        <source>文件第 %1 行起的引号没有结束</source>
        <translation>The quote opened on line %1 of the file is never closed</translation>
    </message>
    <message>
        <source>新设计</source>
        <translation>New design</translation>
    </message>
    <message>
        <source>方案比较</source>
        <translation>Variants</translation>
    </message>
    <message>
        <source>旋         向：</source>
        <translation>Hand:</translation>
    </message>
    <message>
        <source>旋向</source>
        <translation>Hand</translation>
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
        <source>无法开始写入数据表 %1：%2</source>
        <translation>Cannot start writing table %1: %2</translation>
    </message>
    <message>
        <source>无法打开计算法则数据库 %1：%2</source>
        <translation>Cannot open the rules database %1: %2</translation>
    </message>
    <message>
        <source>无法读取数据表 %1</source>
        <translation>Cannot read table %1</translation>
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
        <source>日期</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>日期（空：当天）</source>
        <translation>Date (empty: today)</translation>
    </message>
    <message>
        <source>是</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>更新</source>
        <translation>Update</translation>
    </message>
    <message>
        <source>最后一行的上限 %1 小于可输入的最大值 %2 %3，较大的输入将查不到范围</source>
        <translation>The last row's upper bound %1 is below the largest value that can be typed, %2 %3; larger inputs would find no range</translation>
    </message>
    <message>
        <source>有 %1 个值，标题行有 %2 列（文件第 %3 行）</source>
        <translation>%1 values, but the header has %2 columns (line %3 of the file)</translation>
    </message>
    <message>
        <source>有 %1 个值，此表每行应有 %2 个</source>
        <translation>%1 values; each row of this table needs %2</translation>
    </message>
    <message>
        <source>未安装PDF阅读器(Adobe Reader)或者技术资料丢失....</source>
        <translation>No PDF reader (Adobe Reader) is installed, or the technical documents are missing....</translation>
    </message>
    <message>
        <source>未校核</source>
        <translation>not checked</translation>
    </message>
    <message>
        <source>未给工况：填入输入功率 P1 和蜗杆转速 n1 后按“校核”，表中即列出各方案的效率、输出转矩、油温和热平衡校核。</source>
        <translation>No duty: type the input power P1 and the worm speed n1 and press "Check"; the table then lists each candidate's efficiency, output torque, oil temperature and heat check.</translation>
    </message>
    <message>
        <source>未计算</source>
        <translation>Not calculated</translation>
    </message>
    <message>
        <source>未计算使用系数：</source>
        <translation>Service factor not calculated: </translation>
    </message>
    <message>
        <source>未计算强度（承载能力）：规则数据库中的额定功率表 rated_power 没有数据。此类传动没有公开的强度计算方法，本程序不自行计算；请把产品样本或标准的额定输入功率填入该表，程序即给出使用系数 P额定/P1。</source>
        <translation>Strength (load capacity) not calculated: the rated-power table rated_power of the rules database holds no data. For this drive type there is no public rating method; enter the rated powers of your catalogue or standard.</translation>
    </message>
    <message>
        <source>未记录</source>
        <translation>Not recorded</translation>
    </message>
    <message>
        <source>未输入：按 S = 9×10⁻⁵·a^1.85 估算</source>
        <translation>not typed: estimated as S = 9×10⁻⁵·a^1.85</translation>
    </message>
    <message>
        <source>杆分度圆：</source>
        <translation>Worm ref.:</translation>
    </message>
    <message>
        <source>材料</source>
        <translation>Material</translation>
    </message>
    <message>
        <source>材料配对</source>
        <translation>Material pair</translation>
    </message>
    <message>
        <source>材料配对：</source>
        <translation>Material pair:</translation>
    </message>
    <message>
        <source>材料（空：参考材料）</source>
        <translation>Material (empty: the reference material)</translation>
    </message>
    <message>
        <source>来源未记录</source>
        <translation>Source not recorded</translation>
    </message>
    <message>
        <source>来源覆盖的范围须为数字或留空</source>
        <translation>The covered range must be numbers or empty</translation>
    </message>
    <message>
        <source>来源覆盖的范围：大于</source>
        <translation>Range its source covers: above</translation>
    </message>
    <message>
        <source>来源：</source>
        <translation>Source:</translation>
    </message>
    <message>
        <source>标准侧隙</source>
        <translation>Standard backlash</translation>
    </message>
    <message>
        <source>标准侧隙 jn (mm)</source>
        <translation>Standard backlash jn (mm)</translation>
    </message>
    <message>
        <source>标题栏</source>
        <translation>Title block</translation>
    </message>
    <message>
        <source>标题栏...</source>
        <translation>Title block...</translation>
    </message>
    <message>
        <source>标题行中的这一列不属于数据表 %1</source>
        <translation>This column of the header is not a column of table %1</translation>
    </message>
    <message>
        <source>标题行中这一列出现了两次</source>
        <translation>This column appears twice in the header</translation>
    </message>
    <message>
        <source>标题行缺少这一列（%1）</source>
        <translation>The header lacks this column (%1)</translation>
    </message>
    <message>
        <source>校核</source>
        <translation>Check</translation>
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
        <source>此设计文件中记录的计算法则参数无法读取，本设计已按当前的计算法则计算。</source>
        <translation>The rules recorded in this design file cannot be read; the design was calculated with the rules in force.</translation>
    </message>
    <message>
        <source>此设计文件保存时的计算法则参数与当前的计算法则不同，本设计已按当前的计算法则计算。
</source>
        <translation>The design file was saved under other rule coefficients than those in force; the design was calculated with the rules in force.
</translation>
    </message>
    <message>
        <source>母平面倾斜角</source>
        <translation>Gen. plane tilt</translation>
    </message>
    <message>
        <source>母平面倾斜角，单位 °</source>
        <translation>Generating-plane tilt, °</translation>
    </message>
    <message>
        <source>比例</source>
        <translation>Scale</translation>
    </message>
    <message>
        <source>没有方案的油温不超过 tlim。</source>
        <translation>No candidate keeps the oil within tlim. </translation>
    </message>
    <message>
        <source>油温 to</source>
        <translation>Oil temperature to</translation>
    </message>
    <message>
        <source>油温 to（°C）</source>
        <translation>Oil temperature to (°C)</translation>
    </message>
    <message>
        <source>油温不超过 tlim 的最小中心距：a = %1 mm。</source>
        <translation>Smallest centre distance keeping the oil within tlim: a = %1 mm. </translation>
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
        <source>注意：随程序提供的精度等级公差表和修缘表是本程序选用的参考值，并非标准原文（见程序源代码 data/rules）；用于生产前请按 GB/T 16445-1996 核对。</source>
        <translation>Note: the grade tolerance tables and relief tables shipped with the program are reference values chosen for it, not the standard's text (see</translation>
    </message>
    <message>
        <source>注意：默认计算法则已被修改...</source>
        <translation>Note: the default rules have been changed...</translation>
    </message>
    <message>
        <source>滑动速度 vs</source>
        <translation>Sliding speed vs</translation>
    </message>
    <message>
        <source>滑动速度 vs = %1 m/s 在摩擦系数表（%2）的 %3～%4 m/s 之外，取表端值 μ = %5</source>
        <translation>Sliding speed vs = %1 m/s lies outside %3–%4 m/s of the friction table (%2); the end value μ = %5 is used</translation>
    </message>
    <message>
        <source>滚刀包围齿数</source>
        <translation>Hob enclosed teeth</translation>
    </message>
    <message>
        <source>滚刀包围齿数，单位 齿</source>
        <translation>Hob enclosed teeth, teeth</translation>
    </message>
    <message>
        <source>滚刀图</source>
        <translation>Hob drawing</translation>
    </message>
    <message>
        <source>滚刀有效长度</source>
        <translation>Hob effective length</translation>
    </message>
    <message>
        <source>滚刀有效长度，单位 mm</source>
        <translation>Hob effective length, mm</translation>
    </message>
    <message>
        <source>滚刀法向弦齿厚</source>
        <translation>Hob norm. chord. thk.</translation>
    </message>
    <message>
        <source>滚刀法向弦齿厚，单位 mm</source>
        <translation>Hob normal chordal thickness, mm</translation>
    </message>
    <message>
        <source>滚刀法向弦齿高</source>
        <translation>Hob norm. chord. height</translation>
    </message>
    <message>
        <source>滚刀法向弦齿高，单位 mm</source>
        <translation>Hob normal chordal height, mm</translation>
    </message>
    <message>
        <source>滚刀轴向剖面  %1    齿顶宽 %2</source>
        <translation>Hob axial section  %1    tip width %2</translation>
    </message>
    <message>
        <source>滚刀齿根圆弧半径</source>
        <translation>Hob root arc radius</translation>
    </message>
    <message>
        <source>滚刀齿根圆弧半径，单位 mm</source>
        <translation>Hob root arc radius, mm</translation>
    </message>
    <message>
        <source>滚刀齿顶圆弧半径</source>
        <translation>Hob tip arc radius</translation>
    </message>
    <message>
        <source>滚刀齿顶圆弧半径，单位 mm</source>
        <translation>Hob tip arc radius, mm</translation>
    </message>
    <message>
        <source>滚刀齿顶宽</source>
        <translation>Hob tip width</translation>
    </message>
    <message>
        <source>滚刀齿顶宽为负（%1），齿形不成立</source>
        <translation>The hob tip width is negative (%1): the tooth does not hold</translation>
    </message>
    <message>
        <source>滚刀齿顶宽，单位 mm</source>
        <translation>Hob tip width, mm</translation>
    </message>
    <message>
        <source>热平衡</source>
        <translation>Heat check</translation>
    </message>
    <message>
        <source>热平衡校核</source>
        <translation>Heat balance</translation>
    </message>
    <message>
        <source>热平衡校核不合格：油温 to = %1 °C 高于允许油温 tlim = %2 °C；所需散热面积 Sreq = %3 m²（现为 S = %4 m²）</source>
        <translation>Heat balance failed: oil temperature to = %1 °C above the limit tlim = %2 °C; required surface Sreq = %3 m² (now S = %4 m²)</translation>
    </message>
    <message>
        <source>环境温度 ta</source>
        <translation>Ambient ta</translation>
    </message>
    <message>
        <source>环境温度 ta：</source>
        <translation>Ambient ta:</translation>
    </message>
    <message>
        <source>用户导入：%1</source>
        <translation>User import: %1</translation>
    </message>
    <message>
        <source>用户设置没有保存到 %1。
%2</source>
        <translation>The rule set was not saved to %1.
%2</translation>
    </message>
    <message>
        <source>留空则按 S = 9×10⁻⁵·a^1.85 估算（估算值）</source>
        <translation>Empty: estimated as S = 9×10⁻⁵·a^1.85 (an estimate)</translation>
    </message>
    <message>
        <source>留空则按 S = 9×10⁻⁵·a^1.85 估算：%1 m²（估算值，无散热片的箱体）</source>
        <translation>Empty: estimated as S = 9×10⁻⁵·a^1.85: %1 m² (estimate, housing without fins)</translation>
    </message>
    <message>
        <source>直接输入摩擦系数 μ</source>
        <translation>Type the friction coefficient μ</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>磨齿增量 Δz，单位 齿</source>
        <translation>Grinding increment Δz, teeth</translation>
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
        <source>端面模数，单位 mm</source>
        <translation>Transverse module, mm</translation>
    </message>
    <message>
        <source>第 %1 行</source>
        <translation>Row %1</translation>
    </message>
    <message>
        <source>第 %1 页  共 %2 页</source>
        <translation>Page %1 of %2</translation>
    </message>
    <message>
        <source>第 1 张</source>
        <translation>Sheet 1</translation>
    </message>
    <message>
        <source>箱体散热面积 S</source>
        <translation>Housing surface S</translation>
    </message>
    <message>
        <source>箱体散热面积 S = %1 m² 是估算值（S = 9×10⁻⁵·a^1.85，无散热片的箱体），请以实际箱体核对</source>
        <translation>The housing surface S = %1 m² is an estimate (S = 9×10⁻⁵·a^1.85, housing without fins); check it against the real housing</translation>
    </message>
    <message>
        <source>箱体散热面积 S：</source>
        <translation>Housing surface S:</translation>
    </message>
    <message>
        <source>精度等级</source>
        <translation>Accuracy grade</translation>
    </message>
    <message>
        <source>精度等级（GB/T16445-1996）</source>
        <translation>Accuracy grade (GB/T16445-1996)</translation>
    </message>
    <message>
        <source>精度等级（GB/T16445-1996）；第二字为 j 时为标准侧隙</source>
        <translation>Accuracy grade (GB/T16445-1996); a second letter j means standard backlash</translation>
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
        <source>肩台，单位 mm</source>
        <translation>Shoulder, mm</translation>
    </message>
    <message>
        <source>至</source>
        <translation>to</translation>
    </message>
    <message>
        <source>至 %1 %2</source>
        <translation>up to %1 %2</translation>
    </message>
    <message>
        <source>蜗杆</source>
        <translation>worm</translation>
    </message>
    <message>
        <source>蜗杆 STEP...</source>
        <translation>Worm STEP...</translation>
    </message>
    <message>
        <source>蜗杆与蜗轮在中心距处啮合的线框图（按啮合原理计算的三维模型齿面网格，斜视）</source>
        <translation>Line view of the worm and the wheel in mesh at the centre distance (tooth-surface grids of the 3D model computed from the meshing theory, oblique view)</translation>
    </message>
    <message>
        <source>蜗杆分度圆直径 d1，单位 mm</source>
        <translation>Worm reference diameter d1, mm</translation>
    </message>
    <message>
        <source>蜗杆副</source>
        <translation>worm pair</translation>
    </message>
    <message>
        <source>蜗杆副 STEP...</source>
        <translation>Worm Pair STEP...</translation>
    </message>
    <message>
        <source>蜗杆喉部导程角</source>
        <translation>Throat lead angle</translation>
    </message>
    <message>
        <source>蜗杆喉部导程角，单位 °</source>
        <translation>Worm throat lead angle, °</translation>
    </message>
    <message>
        <source>蜗杆喉部齿根圆直径</source>
        <translation>Throat root diameter</translation>
    </message>
    <message>
        <source>蜗杆喉部齿根圆直径，单位 mm</source>
        <translation>Worm throat root diameter, mm</translation>
    </message>
    <message>
        <source>蜗杆喉部齿根直径</source>
        <translation>Worm throat root diameter</translation>
    </message>
    <message>
        <source>蜗杆图</source>
        <translation>Worm drawing</translation>
    </message>
    <message>
        <source>蜗杆圆周力 Ft1 = 蜗轮轴向力 Fa2</source>
        <translation>Worm tangential force Ft1 = wheel axial force Fa2</translation>
    </message>
    <message>
        <source>蜗杆圆周齿距极限偏差 ±fpx (mm)</source>
        <translation>Worm circular pitch deviation ±fpx (mm)</translation>
    </message>
    <message>
        <source>蜗杆圆周齿距累积公差 fpxl (mm)</source>
        <translation>Worm cumulative circular pitch tolerance fpxl (mm)</translation>
    </message>
    <message>
        <source>蜗杆头数 z1，无单位</source>
        <translation>Worm starts z1, no unit</translation>
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
        <source>蜗杆工作长度，单位 mm</source>
        <translation>Worm working length, mm</translation>
    </message>
    <message>
        <source>蜗杆最大齿顶圆直径</source>
        <translation>Max. tip diameter</translation>
    </message>
    <message>
        <source>蜗杆最大齿顶圆直径，单位 mm</source>
        <translation>Worm max. tip diameter, mm</translation>
    </message>
    <message>
        <source>蜗杆法向弦齿厚下偏差 Ts1（8）</source>
        <translation>Worm normal chordal thickness lower deviation Ts1 (8)</translation>
    </message>
    <message>
        <source>蜗杆法向弦齿厚，单位 mm</source>
        <translation>Worm normal chordal thickness, mm</translation>
    </message>
    <message>
        <source>蜗杆法向弦齿高，单位 mm</source>
        <translation>Worm normal chordal height, mm</translation>
    </message>
    <message>
        <source>蜗杆螺旋线公差 fh (mm)</source>
        <translation>Worm helix tolerance fh (mm)</translation>
    </message>
    <message>
        <source>蜗杆转速 n1</source>
        <translation>Worm speed n1</translation>
    </message>
    <message>
        <source>蜗杆转速 n1 = %1 r/min 在额定功率表（a = %2 mm，i = %3）的 %4～%5 r/min 之外</source>
        <translation>Worm speed n1 = %1 r/min lies outside %4–%5 r/min of the rated-power table (a = %2 mm, i = %3)</translation>
    </message>
    <message>
        <source>蜗杆转速 n1：</source>
        <translation>Worm speed n1:</translation>
    </message>
    <message>
        <source>蜗杆轴向剖面  %1    齿顶圆弧圆心偏移 e=%2</source>
        <translation>Worm axial section  %1    tip arc centre offset e=%2</translation>
    </message>
    <message>
        <source>蜗杆轴向齿距极限偏差 ±fpx（3）</source>
        <translation>Worm axial pitch deviation ±fpx (3)</translation>
    </message>
    <message>
        <source>蜗杆轴向齿距累积公差 fpxl（4）</source>
        <translation>Worm cumulative axial pitch tolerance fpxl (4)</translation>
    </message>
    <message>
        <source>蜗杆齿厚公差 Ts1 (mm)</source>
        <translation>Worm thickness tolerance Ts1 (mm)</translation>
    </message>
    <message>
        <source>蜗杆齿形公差 ff1 (mm)</source>
        <translation>Worm profile tolerance ff1 (mm)</translation>
    </message>
    <message>
        <source>蜗杆齿根圆弧半径</source>
        <translation>Root arc radius</translation>
    </message>
    <message>
        <source>蜗杆齿根圆弧半径，单位 mm</source>
        <translation>Worm root arc radius, mm</translation>
    </message>
    <message>
        <source>蜗杆齿槽径向跳动公差 fr (mm)</source>
        <translation>Worm radial runout tolerance fr (mm)</translation>
    </message>
    <message>
        <source>蜗杆齿顶圆弧偏心量</source>
        <translation>Tip arc eccentricity</translation>
    </message>
    <message>
        <source>蜗杆齿顶圆弧偏心量，单位 mm</source>
        <translation>Worm tip arc eccentricity, mm</translation>
    </message>
    <message>
        <source>蜗杆齿顶圆弧半径</source>
        <translation>Tip arc radius</translation>
    </message>
    <message>
        <source>蜗杆齿顶圆弧半径，单位 mm</source>
        <translation>Worm tip arc radius, mm</translation>
    </message>
    <message>
        <source>蜗杆齿顶宽</source>
        <translation>Worm tip width</translation>
    </message>
    <message>
        <source>蜗杆齿顶宽为负（%1），齿形不成立</source>
        <translation>The worm tip width is negative (%1): the tooth does not hold</translation>
    </message>
    <message>
        <source>蜗杆齿顶宽，单位 mm</source>
        <translation>Worm tip width, mm</translation>
    </message>
    <message>
        <source>蜗轮</source>
        <translation>wheel</translation>
    </message>
    <message>
        <source>蜗轮 STEP...</source>
        <translation>Wheel STEP...</translation>
    </message>
    <message>
        <source>蜗轮中间平面极限偏移 ±fx (mm)</source>
        <translation>Wheel mid-plane offset ±fx (mm)</translation>
    </message>
    <message>
        <source>蜗轮分度圆直径</source>
        <translation>Reference diameter</translation>
    </message>
    <message>
        <source>蜗轮分度圆直径，单位 mm</source>
        <translation>Wheel reference diameter, mm</translation>
    </message>
    <message>
        <source>蜗轮喉径</source>
        <translation>Throat diameter</translation>
    </message>
    <message>
        <source>蜗轮喉径，单位 mm</source>
        <translation>Wheel throat diameter, mm</translation>
    </message>
    <message>
        <source>蜗轮图</source>
        <translation>Wheel drawing</translation>
    </message>
    <message>
        <source>蜗轮圆周力 Ft2 = 蜗杆轴向力 Fa1</source>
        <translation>Wheel tangential force Ft2 = worm axial force Fa1</translation>
    </message>
    <message>
        <source>蜗轮最大外径</source>
        <translation>Max. outer diameter</translation>
    </message>
    <message>
        <source>蜗轮最大外径，单位 mm</source>
        <translation>Wheel max. outer diameter, mm</translation>
    </message>
    <message>
        <source>蜗轮法向弦齿厚</source>
        <translation>Norm. chord. thk.</translation>
    </message>
    <message>
        <source>蜗轮法向弦齿厚偏差 Ts2（11）</source>
        <translation>Wheel normal chordal thickness deviation Ts2 (11)</translation>
    </message>
    <message>
        <source>蜗轮法向弦齿厚，单位 mm</source>
        <translation>Wheel normal chordal thickness, mm</translation>
    </message>
    <message>
        <source>蜗轮法向弦齿高</source>
        <translation>Norm. chord. height</translation>
    </message>
    <message>
        <source>蜗轮法向弦齿高，单位 mm</source>
        <translation>Wheel normal chordal height, mm</translation>
    </message>
    <message>
        <source>蜗轮轴向剖视  %1</source>
        <translation>Wheel axial section  %1</translation>
    </message>
    <message>
        <source>蜗轮齿厚公差 Ts2 (mm)</source>
        <translation>Wheel thickness tolerance Ts2 (mm)</translation>
    </message>
    <message>
        <source>蜗轮齿圈径向跳动公差 Fr2 (mm)</source>
        <translation>Wheel radial runout tolerance Fr2 (mm)</translation>
    </message>
    <message>
        <source>蜗轮齿数</source>
        <translation>Wheel teeth</translation>
    </message>
    <message>
        <source>蜗轮齿数 z2，无单位</source>
        <translation>Wheel teeth z2, no unit</translation>
    </message>
    <message>
        <source>蜗轮齿数 大于 (齿)</source>
        <translation>Wheel teeth above (teeth)</translation>
    </message>
    <message>
        <source>蜗轮齿数 至 (齿)</source>
        <translation>Wheel teeth up to (teeth)</translation>
    </message>
    <message>
        <source>蜗轮齿数：</source>
        <translation>Wheel teeth:</translation>
    </message>
    <message>
        <source>蜗轮齿距极限偏差 ±fpt (mm)</source>
        <translation>Wheel pitch deviation ±fpt (mm)</translation>
    </message>
    <message>
        <source>蜗轮齿距极限偏差 ±fpt（10）</source>
        <translation>Wheel pitch deviation ±fpt (10)</translation>
    </message>
    <message>
        <source>蜗轮齿距累积公差 Fp2 (mm)</source>
        <translation>Wheel cumulative pitch tolerance Fp2 (mm)</translation>
    </message>
    <message>
        <source>蜗轮齿距累积公差 Fp2（9）</source>
        <translation>Wheel cumulative pitch tolerance Fp2 (9)</translation>
    </message>
    <message>
        <source>蜗轮齿顶圆弧半径</source>
        <translation>Tip arc radius</translation>
    </message>
    <message>
        <source>蜗轮齿顶圆弧半径，单位 mm</source>
        <translation>Wheel tip arc radius, mm</translation>
    </message>
    <message>
        <source>表中没有数据行</source>
        <translation>The table has no data rows</translation>
    </message>
    <message>
        <source>表格</source>
        <translation>Tables</translation>
    </message>
    <message>
        <source>表格数据为参考值</source>
        <translation>Reference table data</translation>
    </message>
    <message>
        <source>表格没有导出到 %1。
%2</source>
        <translation>The table was not exported to %1.
%2</translation>
    </message>
    <message>
        <source>规则数据库中没有摩擦系数表 friction（可能是旧的规则文件），请直接输入摩擦系数 μ</source>
        <translation>The rules database has no friction table friction (perhaps an older rule set); type the friction coefficient μ</translation>
    </message>
    <message>
        <source>规则数据库无法读取：%1</source>
        <translation>The rules database cannot be read: %1</translation>
    </message>
    <message>
        <source>规则数据库的摩擦系数表 friction 中没有材料配对“%1”</source>
        <translation>The friction table friction of the rules database has no material pair "%1"</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
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
        <source>计算法则数据库 %1 无法读取：%2</source>
        <translation>The rules database %1 cannot be read: %2</translation>
    </message>
    <message>
        <source>计算法则数据库 %1：%2</source>
        <translation>Rules database %1: %2</translation>
    </message>
    <message>
        <source>计算法则数据库中没有数据表 %1</source>
        <translation>The rules database has no table %1</translation>
    </message>
    <message>
        <source>计算法则数据库无法读取：%1</source>
        <translation>The rules database cannot be read: %1</translation>
    </message>
    <message>
        <source>计算法则数据库没有打开</source>
        <translation>The rules database is not open</translation>
    </message>
    <message>
        <source>计算法则数据库：%1</source>
        <translation>Rules database: %1</translation>
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
        <source>设计</source>
        <translation>Designed</translation>
    </message>
    <message>
        <source>设计手册</source>
        <translation>Design manual</translation>
    </message>
    <message>
        <source>设计报告</source>
        <translation>Design report</translation>
    </message>
    <message>
        <source>设计报告写入失败，原有文件未改动：%1</source>
        <translation>The design report could not be written; the old file is unchanged: %1</translation>
    </message>
    <message>
        <source>设计的中心距、速比、分度圆直径、导程角或齿形角不可用于传动校核，请先完成计算</source>
        <translation>The design's centre distance, ratio, reference diameter, lead angle or profile angle cannot be used for a drive check; calculate the design first</translation>
    </message>
    <message>
        <source>请先完成设计计算，再做传动校核</source>
        <translation>Calculate the design first, then check the drive</translation>
    </message>
    <message>
        <source>请写明这些数值的来源（标准、手册或本厂标准）</source>
        <translation>Name the source of these values (a standard, a handbook or your works standard)</translation>
    </message>
    <message>
        <source>请在“设置”→“计算法则参数设置”的“表格”页中换用所依据标准或本厂标准的数值（可导入 CSV 文件），并写明来源。</source>
        <translation>Replace them on the "Tables" page of "Settings" → "Rule coefficients" with the values of your standard or works standard (</translation>
    </message>
    <message>
        <source>读取文件 %1 时出错：%2</source>
        <translation>Error while reading the file %1: %2</translation>
    </message>
    <message>
        <source>超出精度表来源范围</source>
        <translation>Beyond the grade table's source</translation>
    </message>
    <message>
        <source>轮缘内径 %1 mm</source>
        <translation>rim bore %1 mm</translation>
    </message>
    <message>
        <source>轴交角极限偏差 ±fΣ (mm)</source>
        <translation>Shaft angle deviation ±fΣ (mm)</translation>
    </message>
    <message>
        <source>轴头长 %1 mm</source>
        <translation>shaft stubs %1 mm long</translation>
    </message>
    <message>
        <source>轴承及搅油效率 ηo</source>
        <translation>Bearing and churning efficiency ηo</translation>
    </message>
    <message>
        <source>轴承及搅油效率 ηo：</source>
        <translation>Bearing and churning ηo:</translation>
    </message>
    <message>
        <source>输入功率 P1</source>
        <translation>Input power P1</translation>
    </message>
    <message>
        <source>输入功率 P1：</source>
        <translation>Input power P1:</translation>
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
        <source>输入转矩 T1</source>
        <translation>Input torque T1</translation>
    </message>
    <message>
        <source>输出功率 P2</source>
        <translation>Output power P2</translation>
    </message>
    <message>
        <source>输出转矩 T2</source>
        <translation>Output torque T2</translation>
    </message>
    <message>
        <source>输出转速 n2</source>
        <translation>Output speed n2</translation>
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
        <source>逆传动效率 ηb</source>
        <translation>Back-drive efficiency ηb</translation>
    </message>
    <message>
        <source>逆传动效率 ηb（蜗轮主动）</source>
        <translation>Back-drive efficiency ηb (wheel driving)</translation>
    </message>
    <message>
        <source>通常取 8.15～17.45 W/(m²·°C)（自然通风；通风良好取大值）</source>
        <translation>Usually 8.15–17.45 W/(m²·°C) (natural ventilation; good ventilation takes the larger value)</translation>
    </message>
    <message>
        <source>速比</source>
        <translation>Ratio</translation>
    </message>
    <message>
        <source>速比 %1 超出本设计方法的适用范围（7.5 ＜ i ＜ 150），结果仅供参考</source>
        <translation>Ratio %1 is outside the range of this design method (7.5 &lt; i &lt; 150); the results are for reference only</translation>
    </message>
    <message>
        <source>额定功率</source>
        <translation>Rated power</translation>
    </message>
    <message>
        <source>额定功率表中 a = %1 mm、i = %2、n1 = %3 r/min 的行重复</source>
        <translation>The rated-power table repeats the row a = %1 mm, i = %2, n1 = %3 r/min</translation>
    </message>
    <message>
        <source>额定功率表中没有中心距 a = %1 mm 的数据</source>
        <translation>The rated-power table has no data for centre distance a = %1 mm</translation>
    </message>
    <message>
        <source>默认值</source>
        <translation>Default</translation>
    </message>
    <message>
        <source>齿</source>
        <translation>teeth</translation>
    </message>
    <message>
        <source>齿圈工作宽度</source>
        <translation>Rim working width</translation>
    </message>
    <message>
        <source>齿圈工作宽度，单位 mm</source>
        <translation>Rim working width, mm</translation>
    </message>
    <message>
        <source>齿数</source>
        <translation>Teeth</translation>
    </message>
    <message>
        <source>齿顶偏心 e，单位 mm</source>
        <translation>Tip eccentricity e, mm</translation>
    </message>
    <message>
        <source>齿顶偏心：</source>
        <translation>Tip eccentr.:</translation>
    </message>
    <message>
        <source>（估算）</source>
        <translation> (estimate)</translation>
    </message>
    <message>
        <source>（假设值）</source>
        <translation> (assumed)</translation>
    </message>
    <message>
        <source>（可逆转）</source>
        <translation> (back-drives)</translation>
    </message>
    <message>
        <source>（未记录）</source>
        <translation> (not recorded)</translation>
    </message>
    <message>
        <source>（查表）</source>
        <translation> (from the table)</translation>
    </message>
    <message>
        <source>（此表不按范围查找）</source>
        <translation> (this table is not looked up by range)</translation>
    </message>
    <message>
        <source>（输入值）</source>
        <translation> (typed)</translation>
    </message>
    <message>
        <source>，</source>
        <translation>, </translation>
    </message>
    <message>
        <source>，修改于 %1</source>
        <translation>, changed %1</translation>
    </message>
    <message>
        <source>：</source>
        <translation>: </translation>
    </message>
    <message>
        <source>；</source>
        <translation>; </translation>
    </message>
    <message>
        <source>；仍为随程序提供的参考值</source>
        <translation>; still the reference values shipped with the program</translation>
    </message>
</context>
</TS>
