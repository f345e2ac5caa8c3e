vs.1.1
mov	r8, v0
mov	r9, v1
mov	a0.x, v3.w
mad	r8.xyz, v3.xyz, c[a0.x + 7].x, r8
mad	r9.xyz, v4.xyz, c[a0.x + 7].x, r9
dp3	r9.w,r9.xyz,r9.xyz
rsq	r9.w,r9.w
mul	r9.xyz,r9.xyz,r9.www
sub	r0.xyz, r8.xyz, c5.xyz
dp3	r0.w, r0.xyz, r0.xyz
rsq	r1.w, r0.w
mul	r0.xyzw, r0.xyzw, r1.wwww
sub	r5.w, r0.w, c5.w
sge	r1.w, c4.x, r5.w
add	r5.w, c6.y, r5.w
max	r5.w, c4.x, r5.w
mul	r5.w, r1.w, r5.w
mad	r5.xyz, r0.xyz, r5.www, r8.xyz
sge	r5.w, r5.x, r5.x
m4x4	r2, r5, c0
mov	oPos, r2
mov	r7, v2
add	r7.xy, r9.xz, r9.xz
m4x4	r1, r5, c20
add	r1, r1, r7
rcp	r7.w, r1.w
mul	oT0, r1.xyzw, r7.w
dp3	r1.x, r9.xyz, -r0.xyz
sub	r1.y, c6.z, r0.w
max	r1.xy, c4.x, r1.xy
mul	r6.xyz, r1.xxx, r1.yyy
sub	r0.w, r2.w, c13.x
max	r0.w, c4.x, r0.w
mul	r0.w, r0.w, c13.y
mad	r6.xyz, r0.www, c12, r6.xyz
sub	r1.w, c4.y, r0.w
add	oD1.rgb, c14, r6.xyz
dp3	r6.x, r9.xyz, c10.xyz
max	r6.x, c4.x, r6.x
mul	r6.x, r6.x, r1.w
mul	r0.xyz, r6.xxx, c11
add	oD0.rgb,  r0.xyz, c9
m4x4	r2, r5, c15
mov	oT1, r2
mov	oD0.a, r2.z
